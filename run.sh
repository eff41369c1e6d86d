#!/usr/bin/env bash
# Builds a Release build and runs Velmora on PAGE.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure-packages.sh
ensure_packages

build=build/release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"

exec "$build/cli/velmora-cli" analyze "$@"
