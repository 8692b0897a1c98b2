#!/usr/bin/env bash
# Builds Kelvaro and starts it under Wine. On a machine with a display the window
# appears there, in Wine's virtual desktop, until you end the program (the "v1"
# menu's exit item). Without a display it runs on a private Xvfb screen: once the
# window is shown a screenshot of that screen is saved and its path printed, and
# the program and the screen are ended again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset windows >/dev/null
build=build/windows
jobs=$(nproc 2>/dev/null || echo 2)

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    cmake --build --preset windows -j"$jobs" --target kelvaro
    echo "Starting Kelvaro on $DISPLAY."
    KELVARO_USE_DISPLAY=1 exec scripts/wine-exec "$build/ui/kelvaro.exe"
fi

cmake --build --preset windows -j"$jobs" --target kelvaro show_kelvaro
echo "No display: running Kelvaro on a private Xvfb screen."
export KELVARO_DISPLAY=${KELVARO_DISPLAY:-86}
trap 'scripts/stop-xvfb "$build"' EXIT
shot=$PWD/$build/kelvaro-screen.png
rm -f "$shot"
# show_kelvaro starts Kelvaro, waits until its window is painted, saves the screen
# and closes the program. Wine's own messages go to a log.
if ! scripts/wine-exec "$build/tests/gui/show_kelvaro.exe" "$PWD/$build/ui/kelvaro.exe" "$shot" \
        2>"$build/run-wine.log"; then
    echo "Kelvaro did not show its window; Wine's messages are in $build/run-wine.log" >&2
    exit 1
fi
echo "Screenshot: $shot"
