#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the two Debian packages, velmora-cli and velmora, with Debian's build flags and all of
# its hardening (fortify, stack protector, read-only relocations, immediate binding; PIE is the
# compiler's default), as a Debian build would.
# dist/build-packages.sh OUTPUT_DIR [BUILD_DIR [CMAKE_OPTION...]]
#   BUILD_DIR defaults to build/deb; CMAKE_OPTION such as -DVELMORA_BUILD_UI=OFF.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || {
    echo "usage: $0 OUTPUT_DIR [BUILD_DIR [CMAKE_OPTION...]]" >&2
    exit 2
}
output=$(realpath -m "$1")
build=$(realpath -m "${2:-$source_dir/build/deb}")
shift $(($# >= 2 ? 2 : 1))

# From the source folder, so the debug paths dpkg-buildflags maps are relative to it.
cd "$source_dir"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# The packaged programs are stripped, so compiling debug information would only cost time.
export DEB_CXXFLAGS_MAINT_STRIP=-g
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="$cxxflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF \
    "$@" >/dev/null
targets=(velmora-cli velmora_dist_files)
grep -q '^VELMORA_BUILD_UI:BOOL=ON' "$build/CMakeCache.txt" && targets+=(velmora)
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
rm -rf "$output"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$output" >/dev/null
ls "$output"/*.deb
