#!/usr/bin/env bash
# Runs every Kelvaro test on this machine: installs what is missing, builds the
# Linux host configuration (the core) and the Windows one (everything), and runs
# both test suites, the Windows one under Wine on a private Xvfb screen.
set -uo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

bash scripts/setup.sh || exit 1

echo "== building the host configuration"
{ cmake --preset host >/dev/null && cmake --build --preset host -j"$jobs"; } || exit 1
echo "== building the Windows configuration"
{ cmake --preset windows >/dev/null && cmake --build --preset windows -j"$jobs"; } || exit 1

trap 'scripts/stop-xvfb build/windows' EXIT

log=$(mktemp)
echo "== host tests"
ctest --preset host | tee "$log"
host=${PIPESTATUS[0]}
echo "== Windows tests (Wine)"
ctest --preset windows "$@" | tee -a "$log"
windows=${PIPESTATUS[0]}

# One closing line over both suites, from ctest's own summaries.
read -r passed failed < <(awk '/tests failed out of/ {
        failed += $4; total += $NF } END { print total - failed, failed }' "$log")
rm -f "$log"
echo
echo "host tests: $([ "$host" -eq 0 ] && echo passed || echo FAILED)"
echo "Windows tests: $([ "$windows" -eq 0 ] && echo passed || echo FAILED)"
echo "total: ${passed:-0} passed, ${failed:-0} failed"
[ "$host" -eq 0 ] && [ "$windows" -eq 0 ]
