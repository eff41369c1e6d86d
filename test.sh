#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors,
# and runs every test with ctest; then runs each fuzz target for a few seconds (clang build).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure-packages.sh
ensure_packages clang libclang-rt-14-dev chromium desktop-file-utils appstream dpkg-dev python3-jsonschema python3-yaml jq mandoc zsh \
    ninja-build

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Four builds share two cores here, so they compile a handful of sources at a time (the same
# headers and templates once per handful, not once per file) and Ninja keeps both cores busy
# across targets. Build folders made before keep their own generator.
export CMAKE_GENERATOR=Ninja
unity=-DCMAKE_UNITY_BUILD=ON

echo "== Sanitized build (AddressSanitizer, UndefinedBehaviorSanitizer)"
build=build/asan
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_WERROR=ON "$unity" >/dev/null
cmake --build "$build" -j "$jobs"
(cd "$build" && ctest --output-on-failure -j "$jobs" 2>&1 | tee ctest.log)

echo "== Fuzz targets (libFuzzer, a few seconds each)"
fuzz=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON \
    -DVELMORA_WERROR=ON -DVELMORA_FUZZ_SECONDS="${VELMORA_FUZZ_SECONDS:-8}" "$unity" >/dev/null
cmake --build "$fuzz" -j "$jobs"
(cd "$fuzz" && ctest --output-on-failure -j "$jobs" 2>&1 | tee ctest.log)

echo "== ThreadSanitizer: velmora-cli's command line analysing pages in parallel, and two edits at once"
tsan=build/tsan
cmake -S . -B "$tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_TSAN=ON -DVELMORA_WERROR=ON \
    -DVELMORA_BUILD_UI=OFF -DVELMORA_BUILD_BENCH=OFF "$unity" >/dev/null
cmake --build "$tsan" -j "$jobs" --target velmora_cli_test edit_commands_test
(cd "$tsan" && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure --no-tests=error \
    -R 'VelmoraCli\.(DirectoriesGiveSortedPagesAndParallelOutputKeepsInputOrder|ExitCodesAndOneLineErrors|ConcurrentEditsNeverLoseAnEdit)' \
    2>&1 | tee ctest.log)
