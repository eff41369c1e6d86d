#!/usr/bin/env bash
# Checks the two Debian packages as a user gets them: their control fields with dpkg-deb -I
# (velmora-cli needs no Qt GUI or Widgets, velmora depends on velmora-cli), exactly the expected
# files in each, and velmora-cli installed alone with dpkg into a scratch root, where it runs and
# from where it is removed without a trace.
# deb_package_test.sh PACKAGE_DIR SCRATCH_DIR VERSION VERSION_LINE CLI_FILE... [-- DESKTOP_FILE...]
set -euo pipefail
packages=$1 scratch=$2 version=$3 version_line=$4
shift 4
cli_files=() desktop_files=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
    cli_files+=("$1")
    shift
done
[ $# -gt 0 ] && shift && desktop_files=("$@")

status=0
fail() {
    echo "$*"
    status=1
}

rm -rf "$scratch"
mkdir -p "$scratch"

# check_package NAME DEPENDS_WORD... -- NOT_DEPENDS_WORD... -- FILE...
check_package() {
    local name=$1 deb
    deb=$packages/${name}_${version}_$(dpkg --print-architecture).deb
    shift
    [ -f "$deb" ] || {
        fail "no package $deb"
        return
    }
    dpkg-deb -I "$deb"
    field() { dpkg-deb --field "$deb" "$1"; }
    [ "$(field Package)" = "$name" ] || fail "$name: Package is '$(field Package)'"
    [ "$(field Version)" = "$version" ] || fail "$name: Version is '$(field Version)'"
    local depends word
    depends=$(field Depends)
    while [ "$1" != -- ]; do
        [[ $depends == *"$1"* ]] || fail "$name: Depends does not name $1"
        shift
    done
    shift
    while [ "$1" != -- ]; do
        [[ $depends != *"$1"* ]] || fail "$name: Depends names $1"
        shift
    done
    shift
    local root=$scratch/unpacked-$name
    dpkg-deb -x "$deb" "$root"
    if ! diff -u <(printf '%s\n' "$@" | sort) \
        <(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort); then
        fail "$name: the package's files (+) differ from the expected ones (-)"
    fi
}

check_package velmora-cli libc6 libstdc++6 libicu libqt6core6 libharfbuzz0b libfontconfig1 -- \
    libqt6gui6 libqt6widgets6 libqt6dbus6 -- "${cli_files[@]}"
if [ ${#desktop_files[@]} -gt 0 ]; then
    check_package velmora "velmora-cli (= $version)" libqt6widgets6 libqt6gui6 -- -- \
        "${desktop_files[@]}"
fi

# velmora-cli alone, installed by dpkg into an empty root whose libraries are the machine's.
root=$scratch/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkg_in_root() {
    dpkg --root="$root" --log=/dev/null --force-not-root --force-script-chrootless \
        --force-depends "$@"
}
# dpkg says the libraries are missing from the scratch root; they are the machine's.
dpkg_in_root -i "$packages/velmora-cli_${version}_$(dpkg --print-architecture).deb" >/dev/null 2>&1 ||
    fail "dpkg could not install velmora-cli into $root"
printed=$("$root/usr/bin/velmora-cli" --version)
[ "$printed" = "$version_line" ] || fail "installed velmora-cli --version printed '$printed'"
printf '<html><head><title>Fresh bread every morning</title></head><body></body></html>' \
    >"$scratch/page.html"
"$root/usr/bin/velmora-cli" analyze --defaults --json "$scratch/page.html" | grep -q '"rating"' ||
    fail "installed velmora-cli did not analyse a page"
[ "$(dpkg_in_root -l velmora 2>/dev/null | grep -c "^ii")" = 0 ] || fail "velmora was installed too"
dpkg_in_root -r velmora-cli >/dev/null
left=$(cd "$root" && find usr -type f 2>/dev/null || true)
[ -z "$left" ] || fail "removing velmora-cli left: $left"
exit $status
