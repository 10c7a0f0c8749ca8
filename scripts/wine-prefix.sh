#!/usr/bin/env bash
# Creates the Russian locale and the Wine prefix once, and keeps a wineserver running.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
wineserver -p </dev/null >/dev/null 2>&1 || true
if [ ! -f "$WINEPREFIX/.tallymere-ready" ]; then
  mkdir -p "$WINEPREFIX"
  wine wineboot -i </dev/null >/dev/null 2>&1
  # Windows without an X server fall back to the null driver.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11,null /f </dev/null >/dev/null 2>&1
  # A drive letter whose target is missing: a drive that is not ready.
  ln -sfn /nonexistent-tallymere-drive "$WINEPREFIX/dosdevices/r:"
  wine reg add 'HKLM\Software\Wine\Drives' /v 'r:' /d cdrom /f </dev/null >/dev/null 2>&1
  # Wine's own fonts (Tahoma for "MS Shell Dlg", Marlett for caption buttons),
  # where this build of Wine does not look for them itself.
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wineserver -w
  wineserver -p </dev/null >/dev/null 2>&1 || true
  touch "$WINEPREFIX/.tallymere-ready"
fi
# Start Wine's background services now, detached, so that no test's output pipe
# is inherited by them (ctest would wait for it forever).
wine wineboot </dev/null >/dev/null 2>&1
