#!/usr/bin/env bash
# Builds the two programs (Release; no tests, no benchmarks) and runs Velmora on PAGE: the
# desktop program when there is a display, else the command-line analysis.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure-packages.sh
ensure_build_packages

# A folder of its own, so its switched-off tests and benchmarks never reach a developer's
# build/release.
build=build/run
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF \
    -DVELMORA_BUILD_BENCH=OFF -DVELMORA_BUILD_UI=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target velmora-cli velmora

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/ui/velmora" "$@"
fi
echo "No display: the desktop window needs one; showing velmora-cli analyze instead." >&2
exec "$build/cli/velmora-cli" analyze "$@"
