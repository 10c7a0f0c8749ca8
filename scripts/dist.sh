#!/usr/bin/env bash
# Packs dist/tallymere-<version>-win64.zip: the program, its hashing tool and a read-me.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/windows/bin"
version=$(sed -n 's/^project(Tallymere VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for exe in tallymere.exe fciv.exe; do
  x86_64-w64-mingw32-strip -o "$stage/$exe" "$bin/$exe"
done
sed 's/$/\r/' "$root/src/res/readme.txt" > "$stage/README.txt"
mkdir -p "$root/dist"
zip="$root/dist/tallymere-$version-win64.zip"
rm -f "$zip"
(cd "$stage" && zip -q -X "$zip" tallymere.exe fciv.exe README.txt)
echo "$zip"
