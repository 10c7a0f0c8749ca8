#!/usr/bin/env bash
# Throughput of fciv.exe (under Wine) against native md5sum, sha1sum and
# sha256sum over the same files: a few large files (~1 GiB), 20,000 small ones
# (1-16 KiB) also against a plain read of them, and one 2 GiB file.
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
[ "$(stat -c %s "$tree/one/image.iso" 2>/dev/null)" = $((2 << 30)) ] ||
  { mkdir -p "$tree/one" && cat "$tree"/large/* "$tree"/large/* > "$tree/one/image.iso"; }
"$root/scripts/wine-prefix.sh"
cat "$tree"/large/* > /dev/null  # warm the page cache for everyone alike
win() { echo "Z:${1//\//\\}"; }
secs() { local s=$(date +%s.%N); "$@" >/dev/null 2>&1; awk -v a="$s" -v b="$(date +%s.%N)" 'BEGIN { print b - a }'; }
fciv() { "$root/scripts/wine-run" "$fciv" "$(win "$1")" -r "${@:2}" -xml "$(win "$root/build/bench-db.xml")"; }
native() { find "$1" -type f -print0 | xargs -0 "$2" > /dev/null; }
row() { awk -v n="$1" -v t="$2" -v b="$3" 'BEGIN { printf "%-30s %9.2f %9.2fx\n", n, t, t / b }'; }

floor() { "$root/scripts/wine-run" "$root/build/windows/bin/read_floor.exe" "$(win "$1")"; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

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
echo
printf "%-30s %9s %13s\n" "SHA-256, large" "seconds" "vs sha256sum"
base=$(secs native "$tree/large" sha256sum)
row "sha256sum (large)" "$base" "$base"
row "fciv -sha256 (large)" "$(secs fciv "$tree/large" -sha256)" "$base"

# Small files against what Wine allows: list, open, read and close every file on two threads.
echo
printf "%-30s %9s %10s\n" "small files, 5 rounds" "floor s" "fciv -md5"
ratios=()
for round in 1 2 3 4 5; do
  f=$(secs floor "$tree/small")
  t=$(secs fciv "$tree/small" -md5)
  ratios+=("$(awk -v t="$t" -v f="$f" 'BEGIN { print t / f }')")
  printf "%-30s %9.2f %9.2fx\n" "round $round" "$f" "${ratios[-1]}"
done
printf "%-30s %20.2fx\n" "median fciv -md5 / floor" "$(printf '%s\n' "${ratios[@]}" | median)"

# One large file with several hashes: each on a core of its own. Best of two runs each.
best() { for _ in 1 2; do secs "$@"; done | sort -n | head -1; }
echo
printf "%-30s %9s %10s %10s\n" "one 2 GiB file (best of 2)" "seconds" "vs slower" "vs fciv"
cat "$tree/one/image.iso" > /dev/null
m=$(best native "$tree/one" md5sum)
s=$(best native "$tree/one" sha1sum)
s2=$(best native "$tree/one" sha256sum)
fm=$(best fciv "$tree/one" -md5)
fs=$(best fciv "$tree/one" -sha1)
fs2=$(best fciv "$tree/one" -sha256)
fb=$(best fciv "$tree/one" -both)
fa=$(best fciv "$tree/one" -md5 -sha1 -sha256)
slowest() { printf '%s\n' "$@" | sort -g | tail -1; }
slower=$(slowest "$m" "$s" "$s2")
own=$(slowest "$fm" "$fs" "$fs2")
row3() { awk -v n="$1" -v t="$2" -v b="$slower" -v o="$own" 'BEGIN { printf "%-30s %9.2f %9.2fx %9.2fx\n", n, t, t / b, t / o }'; }
row3 "md5sum" "$m"
row3 "sha1sum" "$s"
row3 "sha256sum" "$s2"
row3 "fciv -md5" "$fm"
row3 "fciv -sha1" "$fs"
row3 "fciv -sha256" "$fs2"
row3 "fciv -both" "$fb"
row3 "fciv -md5 -sha1 -sha256" "$fa"
echo "vs slower: the slowest of md5sum, sha1sum and sha256sum; vs fciv: the slowest of fciv -md5, -sha1 and -sha256"
rm -f "$root/build/bench-db.xml"
