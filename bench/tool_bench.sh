#!/usr/bin/env bash
# Throughput of fciv.exe (under Wine) against native md5sum and sha1sum over
# the same files: a few large files (~1 GiB) and 20,000 small ones (1-16 KiB).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fciv="$root/build/windows/bin/fciv.exe"
tree=${BENCH_TREE:-$root/build/bench-tree}
if [ ! -f "$tree/.ready" ]; then
  rm -rf "$tree"; mkdir -p "$tree/large" "$tree/small"
  for i in 1 2 3 4; do head -c $((256 << 20)) /dev/urandom > "$tree/large/part$i.bin"; done
  python3 - "$tree/small" <<'PY'
import os, random, sys
rng = random.Random(7)
for i in range(20000):
    d = os.path.join(sys.argv[1], f"d{i // 1000:02}")
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, f"f{i:05}.bin"), "wb") as f:
        f.write(rng.randbytes(rng.randint(1024, 16384)))
PY
  touch "$tree/.ready"
fi
[ -f "$tree/one/image.iso" ] || { mkdir -p "$tree/one" && cat "$tree"/large/* > "$tree/one/image.iso"; }
"$root/scripts/wine-prefix.sh"
cat "$tree"/large/* > /dev/null  # warm the page cache for everyone alike
win() { echo "Z:${1//\//\\}"; }
secs() { local s=$(date +%s.%N); "$@" >/dev/null 2>&1; awk -v a="$s" -v b="$(date +%s.%N)" 'BEGIN { print b - a }'; }
fciv() { "$root/scripts/wine-run" "$fciv" "$(win "$1")" -r "$2" -xml "$(win "$root/build/bench-db.xml")"; }
native() { find "$1" -type f -print0 | xargs -0 "$2" > /dev/null; }
row() { awk -v n="$1" -v t="$2" -v b="$3" 'BEGIN { printf "%-30s %9.2f %9.2fx\n", n, t, t / b }'; }

printf "%-30s %9s %10s\n" "run (files)" "seconds" "vs md5sum"
for set in large small; do
  base=$(secs native "$tree/$set" md5sum)
  row "md5sum ($set)" "$base" "$base"
  row "sha1sum ($set)" "$(secs native "$tree/$set" sha1sum)" "$base"
  for mode in -md5 -sha1 -both; do
    t=$(secs fciv "$tree/$set" $mode)
    row "fciv $mode ($set)" "$t" "$base"
  done
  [ "$set" = small ] && awk -v t="$t" 'BEGIN { printf "%-30s %9.0f\n", "small files/s, fciv -both", 20000 / t }'
done
echo "large: 4 x 256 MiB; small: 20,000 x 1-16 KiB; under 1.00x is faster than md5sum alone"

# One large file with both hashes: its two hashes on two cores. Best of three runs each.
best() { for _ in 1 2 3; do secs "$@"; done | sort -n | head -1; }
echo
printf "%-30s %9s %10s\n" "one 1 GiB file (best of 3)" "seconds" "vs slower"
cat "$tree/one/image.iso" > /dev/null
m=$(best native "$tree/one" md5sum)
s=$(best native "$tree/one" sha1sum)
slower=$(awk -v a="$m" -v b="$s" 'BEGIN { print (a > b ? a : b) }')
row "md5sum" "$m" "$slower"
row "sha1sum" "$s" "$slower"
row "fciv -md5" "$(best fciv "$tree/one" -md5)" "$slower"
row "fciv -sha1" "$(best fciv "$tree/one" -sha1)" "$slower"
row "fciv -both" "$(best fciv "$tree/one" -both)" "$slower"

# Checking against what was recorded, beside recording the same tree and coreutils' checks.
echo
printf "%-30s %9s %10s\n" "check (files)" "seconds" "vs record"
db=$(win "$root/build/bench-db.xml")
for set in large small; do
  (cd "$tree/$set" && for t in md5 sha1 sha256; do find . -type f -print0 | xargs -0 ${t}sum > "$root/build/bench.$t"; done)
  rec=$(secs fciv "$tree/$set" -both)
  row "fciv -both, record ($set)" "$rec" "$rec"
  row "fciv -v -xml ($set)" "$(secs "$root/scripts/wine-run" "$fciv" -v -xml "$db")" "$rec"
  for t in md5 sha1 sha256; do
    row "${t}sum -c ($set)" "$(cd "$tree/$set" && secs ${t}sum -c "$root/build/bench.$t")" "$rec"
  done
done
rm -f "$root"/build/bench.md5 "$root"/build/bench.sha1 "$root"/build/bench.sha256
rm -f "$root/build/bench-db.xml"
