#!/usr/bin/env bash
# Builds a Release build and runs Velmora on PAGE: the desktop program when there is a display,
# else the command-line analysis.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure-packages.sh
ensure_packages

build=build/release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/ui/velmora" "$@"
fi
echo "No display: the desktop window needs one; showing velmora-cli analyze instead." >&2
exec "$build/cli/velmora-cli" analyze "$@"
