#!/usr/bin/env bash
# Installs the Debian packages Velmora needs when they are missing.
# Sourced by run.sh (building and running: ensure_build_packages) and test.sh (everything:
# ensure_packages), so a fresh machine needs nothing done by hand.

# Building the two programs and running them.
velmora_build_packages=(
    cmake g++ make pkg-config
    libicu-dev qt6-base-dev libcli11-dev nlohmann-json3-dev libtomlplusplus-dev libgit2-dev
    libharfbuzz-dev libfontconfig-dev fonts-liberation2
    liburiparser-dev libexpat1-dev libsimdjson-dev
)
# The tests and benchmarks on top: their libraries, the reference HTML parser and shaper they
# compare with, Xvfb for showing the desktop window without a display, mkfs.ext4 for the small
# file systems without extents that the save tests fill up, /usr/bin/time for the memory
# benchmark of saving, lintian for the Debian packages and poppler-utils for the printed site
# report. npm, which fetches the schemas and axe-core the tests use, is added only when no npm
# is found: a machine with Node.js from elsewhere already has one, and Debian's npm package
# conflicts with that Node.js.
velmora_test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    libgumbo-dev libharfbuzz-bin
    xvfb xauth
    e2fsprogs time
    lintian poppler-utils
)

# Installs PACKAGE... that are not installed yet.
install_missing_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

ensure_build_packages() {
    install_missing_packages "${velmora_build_packages[@]}" "$@"
}

# Everything the build, the tests and the benchmarks need, and PACKAGE... besides.
ensure_packages() {
    local npm=()
    command -v npm >/dev/null || npm=(npm)
    install_missing_packages "${velmora_build_packages[@]}" "${velmora_test_packages[@]}" "${npm[@]}" "$@"
}
