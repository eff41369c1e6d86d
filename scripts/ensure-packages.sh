#!/usr/bin/env bash
# Installs the Debian packages the build needs when they are missing.
# Sourced by run.sh and test.sh so a fresh machine needs nothing done by hand.

velmora_packages=(
    cmake g++ make pkg-config
    libicu-dev qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev nlohmann-json3-dev
    libharfbuzz-dev libfontconfig-dev fonts-liberation2 libgumbo-dev libharfbuzz-bin
    xvfb xauth
)

ensure_packages() {
    local wanted=("${velmora_packages[@]}" "$@")
    local missing=()
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}
