#!/usr/bin/env bash
# Creates the Wine prefix once (Russian locale, fonts, a drive that is never
# ready) and keeps a wineserver and Wine's services running for the tests.
# With --desktop every window of the prefix shares one virtual desktop (a screen
# without a window manager still gets title bars, and all programs see each other).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
quiet() { "$@" </dev/null >/dev/null 2>&1; }
if [ ! -f "$WINEPREFIX/.tallymere-ready" ]; then
  mkdir -p "$WINEPREFIX"
  quiet wine wineboot -i
  # Windows without an X server fall back to the null driver.
  quiet wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11,null /f
  # A drive letter whose target is missing: a drive that is not ready.
  ln -sfn /nonexistent-tallymere-drive "$WINEPREFIX/dosdevices/r:"
  quiet wine reg add 'HKLM\Software\Wine\Drives' /v 'r:' /d cdrom /f
  if [ "${1:-}" = --desktop ]; then
    quiet wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    quiet wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x900 /f
  fi
  # Wine's own fonts (Tahoma for "MS Shell Dlg", Marlett for caption buttons),
  # where this build of Wine does not look for them itself.
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wineserver -w  # the server saves the registry as it ends
  touch "$WINEPREFIX/.tallymere-ready"
fi
quiet wineserver -p || true
# No debugger for a crash: the process ends at once with the exception's code
# (Wine's debugger waits on a crash dialog that no one answers).
grep -qs '^"Debugger"=""' "$WINEPREFIX/system.reg" ||
  quiet wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f
# Start Wine's background services now, detached, so that no test's output pipe
# is inherited by them (ctest would wait for it forever).
quiet wine wineboot
