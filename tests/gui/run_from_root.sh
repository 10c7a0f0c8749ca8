#!/usr/bin/env bash
# Runs the AppDir test from a copy of the test program in the root of drive C.
set -eu
source "$(dirname "$0")/../../scripts/wine-env.sh"
copy="$WINEPREFIX/drive_c/tallymere_root_test.exe"
cp "$1" "$copy"
trap 'rm -f "$copy"' EXIT
TALLYMERE_EXPECTED_APPDIR='C:\' wine 'C:\tallymere_root_test.exe' --gtest_filter='FormTest.AppDir*'
