# Sourced: the Wine environment the program is run and tested in.
# A prefix of the project's own, the Russian locale (ANSI code page 1251),
# no Mono/Gecko prompts, quiet debug channels.
_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export TALLYMERE_BUILD=${TALLYMERE_BUILD:-$_root/build}
export WINEPREFIX=${WINEPREFIX:-$TALLYMERE_BUILD/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# The caller's own overrides come last and win.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export LOCPATH=$TALLYMERE_BUILD/locale
# Without a generated locale Wine mangles every non-ASCII file name.
if [ ! -f "$LOCPATH/ru_RU.UTF-8/LC_CTYPE" ]; then
  mkdir -p "$LOCPATH"
  localedef -i ru_RU -f UTF-8 "$LOCPATH/ru_RU.UTF-8" 2>/dev/null || true
fi
{ export LC_ALL=ru_RU.UTF-8; } 2>/dev/null  # bash itself need not know the locale
unset LANGUAGE
