#!/usr/bin/env bash
# Builds the release archive dist/kelvaro-<version>-win32.zip: kelvaro.exe and a
# short Chinese and English read-me, in a folder of the same name.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc 2>/dev/null || echo 2)" --target release_zip >/dev/null
mkdir -p dist
for zip in build/windows/dist/kelvaro-*-win32.zip; do
    cp "$zip" dist/
    echo "Release: $PWD/dist/$(basename "$zip")"
done
