#!/usr/bin/env bash
# Installs whatever the build, the tests and the screenshots need and is missing.
set -euo pipefail
need=()
have() { command -v "$1" >/dev/null 2>&1; }
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have wine || need+=(wine)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
have Xvfb || need+=(xvfb)
[ -d /usr/share/wine/fonts ] && ls /usr/share/wine/fonts/tahoma.ttf >/dev/null 2>&1 || need+=(fonts-wine)
have cmake || need+=(cmake)
have make || need+=(make)
have clang++ || need+=(clang)
[ -f /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a ] || need+=(libclang-rt-14-dev)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
have import || need+=(imagemagick)
have xdotool || need+=(xdotool)
have xclip || need+=(xclip)
have xwininfo || need+=(x11-utils)
have localedef || need+=(libc-bin)
[ -f /usr/share/i18n/locales/ru_RU ] || need+=(locales)
have python3 || need+=(python3)
have zip || need+=(zip)
have unzip || need+=(unzip)
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  SUDO=; [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
