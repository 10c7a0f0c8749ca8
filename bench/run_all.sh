#!/usr/bin/env bash
# Every benchmark, one after the other, each against its baseline of the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/wine-prefix.sh"
run() { "$root/scripts/wine-run" "$root/build/windows/bin/$1" 2>/dev/null; }
echo "== fciv.exe throughput against native md5sum, sha1sum and sha256sum (bench/tool_bench.sh)"
"$root/bench/tool_bench.sh"
echo
echo "== checking and listing a large database against recording it (bench/check_bench.py)"
"$root/bench/check_bench.py"
echo
echo "== reading the database and showing the report (bench/reader_bench.cpp)"
run reader_bench.exe
echo
echo "== filling the lists for a large folder (bench/list_bench.cpp)"
run list_bench.exe
echo
echo "== the program's own CPU while a job waits (bench/wait_bench.cpp)"
run wait_bench.exe
