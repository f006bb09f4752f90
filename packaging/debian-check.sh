#!/bin/sh
# packaging/debian-check.sh
# Builds the Debian package from a copy of the source tree in a temporary
# folder (dpkg-buildpackage writes beside the tree it builds), lints it, checks
# that it holds the files of the port's pkg-plist in Debian's places, and runs
# the packaged program unpacked into a private folder (test_packaged.py).
# Needs debhelper, dpkg-dev, lintian, git, unshare (Linux 5.11 or later) and
# what the end-to-end tests need (xvfb, xauth, fluxbox, xdotool, x11-utils,
# libnss-wrapper, at-spi2-core, python3-pyatspi, python3, python3-xlib,
# python3-pil).
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(getconf _NPROCESSORS_ONLN 2>/dev/null || echo 2)
work=$(mktemp -d "${TMPDIR:-/tmp}/farewelldesk-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The Debian changelog and the port repeat the version of CMakeLists.txt.
version=$(sed -n 's/^project(farewelldesk VERSION \([0-9.]*\) .*/\1/p' "$top/CMakeLists.txt")
changelog=$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version)
port=$(sed -n 's/^DISTVERSION=[[:space:]]*//p' "$top/packaging/freebsd/Makefile")
if [ "$changelog" != "$version" ] || [ "$port" != "$version" ]; then
    echo "debian-check: version $version, but debian/changelog has '$changelog' and the port '$port'" >&2
    exit 1
fi

# The files git knows, as they are in the working tree.
mkdir "$work/src"
git -C "$top" ls-files -z --cached --others --exclude-standard |
    tar -C "$top" --null --ignore-failed-read -T - -cf - | tar -C "$work/src" -xf -

echo "Building the Debian package in $work"
start=$(date +%s)
# The unit tests that debian/rules runs at build time have run on this tree
# in CI already: left out here for CI's time, unless DEBIAN_CHECK_TESTS=1.
if [ "${DEBIAN_CHECK_TESTS:-0}" = 1 ]; then
    export DEB_BUILD_OPTIONS="parallel=$jobs"
else
    export DEB_BUILD_OPTIONS="parallel=$jobs nocheck"
fi
if ! (cd "$work/src" && dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1; then
    tail -n 50 "$work/build.log"
    echo "debian-check: dpkg-buildpackage failed" >&2
    exit 1
fi
echo "Built in $(($(date +%s) - start)) s"

deb=$(ls "$work"/farewelldesk_*.deb)
ls -l "$work"/*.deb
lintian --fail-on error,warning --display-info "$work"/farewelldesk_*.changes

# The package's files: the port's, with Debian's prefix and example folder,
# plus the copyright and changelog.
sed -e '/^@/d' -e 's|^%%DATADIR%%|share/farewelldesk|' \
    -e 's|^%%PORTEXAMPLES%%||' -e 's|^%%EXAMPLESDIR%%|share/doc/farewelldesk/examples|' -e 's|^|./usr/|' \
    "$top/packaging/freebsd/pkg-plist" >"$work/expected"
printf './usr/share/doc/farewelldesk/%s\n' copyright changelog.gz >>"$work/expected"
dpkg-deb --fsys-tarfile "$deb" | tar -tf - | grep -v '/$' >"$work/packaged"
sort -o "$work/expected" "$work/expected"
sort -o "$work/packaged" "$work/packaged"
if ! diff -u "$work/expected" "$work/packaged"; then
    echo "debian-check: the package's files differ from the plist's (- plist, + package)" >&2
    exit 1
fi

dpkg-deb -x "$deb" "$work/root"
FAREWELLDESK_PACKAGE_ROOT="$work/root" "$top/testing/with-home.sh" /usr/bin/python3 "$top/packaging/test_packaged.py"
