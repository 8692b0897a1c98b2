#!/usr/bin/env bash
# Builds the Windows configuration and prints Kelvaro's benchmark table: start-up
# time and peak working set against the smallest window program, Set with a
# 64 MiB picture against a bare copy, and the size and imports of kelvaro.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc 2>/dev/null || echo 2)" \
    --target kelvaro baseline_window form_baseline startup_bench set_bench >/dev/null
out=build/windows
export KELVARO_BUILD_DIR=$PWD/$out
trap 'scripts/stop-xvfb "$KELVARO_BUILD_DIR"' EXIT

exe=$out/ui/kelvaro.exe
size=$(stat -c %s "$exe")
imports=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}' | sort -u | tr '\n' ' ')

echo "Kelvaro benchmarks, $(date -u +%Y-%m-%d), $(nproc) cores, $(wine --version 2>/dev/null)"
printf '%-34s %14s %14s %8s %12s\n' figure measured baseline ratio target
(cd "$out/bench" && ../../../scripts/wine-exec ./startup_bench.exe \
    "$PWD/baseline_window.exe" "$PWD/../ui/kelvaro.exe" "${RUNS:-11}" | tr -d '\r')
# Reference, no target: the same form in plain controls against the baseline.
(cd "$out/bench" && ../../../scripts/wine-exec ./startup_bench.exe \
    "$PWD/baseline_window.exe" "$PWD/form_baseline.exe" "${RUNS:-11}" --reference | tr -d '\r')
(cd "$out/bench" && ../../../scripts/wine-exec ./set_bench.exe "${SET_RUNS:-7}" | tr -d '\r')
printf '%-34s %14s %14s %8s %12s  %s\n' "size of kelvaro.exe" "$((size / 1024)) KiB" - - "<= 400 KiB" \
    "$([ "$size" -le $((400 * 1024)) ] && echo ok || echo MISSED)"
printf '%-34s %s\n' "DLLs kelvaro.exe imports" "$imports"
