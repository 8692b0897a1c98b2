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

echo "== host tests"
ctest --preset host
host=$?
echo "== Windows tests (Wine)"
ctest --preset windows "$@"
windows=$?

echo
echo "host tests: $([ $host -eq 0 ] && echo passed || echo FAILED)"
echo "Windows tests: $([ $windows -eq 0 ] && echo passed || echo FAILED)"
[ $host -eq 0 ] && [ $windows -eq 0 ]
