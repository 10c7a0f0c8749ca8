#!/usr/bin/env bash
# Starts the program under Wine. Without a display it starts Xvfb, opens the
# window there, saves a screenshot and prints the PNG's path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
"$root/scripts/wine-prefix.sh"
exe="$root/build/windows/bin/tallymere.exe"
cd "$(dirname "$exe")"
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi
chosen=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$chosen" >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true; rm -f "$chosen"' EXIT
for _ in $(seq 50); do [ -s "$chosen" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$chosen")
# A virtual desktop gives the window a frame and a title bar without a window manager.
wine explorer /desktop=Tallymere,1280x900 "$exe" >/dev/null 2>&1 &
for _ in $(seq 60); do
  xdotool search --name 'md5, sha1' >/dev/null 2>&1 && break
  sleep 0.5
done
sleep 2
png="$root/build/screenshot.png"
import -window root "$png"
echo "The window is running on a virtual screen; its screenshot: $png"
