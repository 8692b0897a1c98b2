#!/usr/bin/env bash
# Builds Kelvaro and starts it under Wine. On a machine with a display the window
# appears there; without one it runs on a private Xvfb screen, and a screenshot
# of that screen is saved and its path printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc 2>/dev/null || echo 2)" --target kelvaro
exe=build/windows/ui/kelvaro.exe

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    KELVARO_USE_DISPLAY=1 exec scripts/wine-exec "$exe"
fi

echo "No display: running Kelvaro on a private Xvfb screen."
export KELVARO_DISPLAY=${KELVARO_DISPLAY:-86}
eval "$(scripts/ensure-xvfb build/windows)"
scripts/wine-exec "$exe" &
pid=$!
shot=$PWD/build/windows/kelvaro-screen.png
# Give the window time to appear, then capture the screen.
for _ in $(seq 1 10); do
    sleep 1
    kill -0 "$pid" 2>/dev/null || break
done
import -window root "$shot"
echo "Screenshot: $shot"
scripts/stop-xvfb build/windows
