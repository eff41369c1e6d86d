#!/usr/bin/env bash
# Builds the Debian package from a build tree, unpacks it into a scratch folder and checks it
# as a user would get it: exactly the expected files, dependencies found by dpkg-shlibdeps, and
# a velmora-cli that runs from the unpacked tree.
# deb_package_test.sh BUILD_DIR SCRATCH_DIR VERSION VERSION_LINE EXPECTED_FILE...
set -euo pipefail
build_dir=$1 scratch=$2 version=$3 version_line=$4
shift 4
expected_files=("$@")

rm -rf "$scratch"
mkdir -p "$scratch"
cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" ||
    {
        cat "$scratch/cpack.log"
        exit 1
    }
packages=("$scratch"/package/*.deb)
[ ${#packages[@]} -eq 1 ] || {
    echo "expected one package, found: ${packages[*]}"
    exit 1
}
deb=${packages[0]}
echo "built $(basename "$deb")"

status=0
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = velmora ] || {
    echo "package name is '$(field Package)'"
    status=1
}
[ "$(field Version)" = "$version" ] || {
    echo "version is '$(field Version)', expected '$version'"
    status=1
}
depends=$(field Depends)
echo "Depends: $depends"
for library in libc6 libstdc++6 libicu libqt6core6; do
    [[ $depends == *"$library"* ]] || {
        echo "Depends does not name $library"
        status=1
    }
done

root=$scratch/root
dpkg-deb -x "$deb" "$root"
if ! diff -u <(printf '%s\n' "${expected_files[@]}" | sort) \
    <(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort); then
    echo "the package's files (+) differ from the expected ones (-)"
    status=1
fi

printed=$("$root/usr/bin/velmora-cli" --version)
[ "$printed" = "$version_line" ] || {
    echo "unpacked velmora-cli --version printed '$printed', expected '$version_line'"
    status=1
}
exit $status
