#!/bin/sh
# scripts/build.sh run [OPTIONS...]   install what is missing, build, and try the program safely
# scripts/build.sh test               install what is missing, build, and run every test
#
# On Debian the packages that are missing are installed first (as root, or
# through sudo). Elsewhere install the packages listed in the README yourself.
# run builds the program alone, without its tests, in build/ (the program is
# build/farewelldesk); test builds in build-test/ and build-sanitize/.
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(getconf _NPROCESSORS_ONLN 2>/dev/null || echo 2)

build_packages="cmake make g++ qtbase5-dev libqt5x11extras5-dev libxcb1-dev libxcb-shm0-dev libxkbcommon-dev libxkbcommon-x11-dev qttools5-dev qttools5-dev-tools qttranslations5-l10n"
demo_packages="python3 python3-xlib python3-pil xvfb xauth fluxbox xdotool x11-utils
    adwaita-icon-theme libqt5svg5"
qt6_packages="qt6-base-dev qt6-tools-dev qt6-l10n-tools libqt6core5compat6-dev"
test_packages="libnss-wrapper valgrind clang libclang-rt-14-dev x11-apps x11-xserver-utils xserver-xephyr mandoc
    desktop-file-utils openbox tint2 i3-wm xfwm4 xfce4-panel dbus-daemon libglib2.0-bin icewm
    at-spi2-core python3-pyatspi orca speech-dispatcher appstream debhelper dpkg-dev lintian git"

# How long another package manager is waited for: on a new machine an
# automatic update holds its lock for a few minutes.
lock_wait=300

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# apt-get's update does not wait for the lock of the package lists, whatever
# DPkg::Lock::Timeout says (apt 2.6): it is tried again while another package
# manager holds that lock. Any other failure ends the script at once.
update_lists() {
    waited=0
    until log=$(as_root env LC_ALL=C apt-get update -q 2>&1); do
        case $log in
        *"Could not get lock"*) ;;
        *)
            printf '%s\n' "$log" >&2
            return 1
            ;;
        esac
        if [ "$waited" -ge "$lock_wait" ]; then
            printf '%s\n' "$log" >&2
            echo "Another package manager still holds its lock after $lock_wait seconds." >&2
            return 1
        fi
        [ "$waited" -gt 0 ] ||
            echo "Another package manager is running: waiting for its lock, up to $lock_wait seconds."
        sleep 5
        waited=$((waited + 5))
    done
    printf '%s\n' "$log"
}

install_missing() {
    command -v dpkg-query >/dev/null 2>&1 || return 0
    missing=""
    for package in "$@"; do
        status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
        [ "$status" = installed ] || missing="$missing $package"
    done
    [ -n "$missing" ] || return 0
    echo "Installing:$missing"
    update_lists
    # Here apt-get itself waits for the lock, and says so.
    # shellcheck disable=SC2086 # one word a package
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=$lock_wait \
        install -y -q --no-install-recommends $missing
}

build() {
    dir=$1
    shift
    cmake -S "$top" -B "$dir" "$@"
    cmake --build "$dir" -j "$jobs"
}

run() {
    # shellcheck disable=SC2086
    install_missing $build_packages $demo_packages
    build "$top/build" -DBUILD_TESTING=OFF
    # The system's Python, which has the packages installed above.
    exec "$(command -v /usr/bin/python3 || command -v python3)" "$top/scripts/demo.py" "$@"
}

test_all() {
    # shellcheck disable=SC2086
    install_missing $build_packages $demo_packages $test_packages $qt6_packages
    build "$top/build-test" -DBUILD_TESTING=ON -DFAREWELLDESK_WERROR=ON
    ctest --test-dir "$top/build-test" --output-on-failure -j "$jobs"

    # The same program on Qt 6: its unit tests, and the scenarios on two
    # desktops, with two monitors and with a screen that changes its size.
    build "$top/build-qt6" -DQT_MAJOR_VERSION=6 -DBUILD_TESTING=ON -DFAREWELLDESK_WERROR=ON
    ctest --test-dir "$top/build-qt6" --output-on-failure -j "$jobs" -LE e2e
    ctest --test-dir "$top/build-qt6" --output-on-failure -j "$jobs" \
        -R '^e2e_(desktop_fluxbox|desktop_openbox|two_screens|screen_changes)$'

    # The Debian package, built from a copy of the tree, linted and started.
    "$top/packaging/debian-check.sh"

    # Once more with AddressSanitizer and UndefinedBehaviorSanitizer, with the
    # configuration fuzzer's smoke run. Qt keeps its singletons to the end of
    # the process, so leak checking is left to the valgrind run of the library.
    build "$top/build-sanitize" -DBUILD_TESTING=ON -DFAREWELLDESK_WERROR=ON -DFAREWELLDESK_SANITIZE=ON \
        -DFAREWELLDESK_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
    # nss_wrapper's deep binding would hide the sanitizer's interceptors. The
    # window-manager matrix checks desktops, not memory: it runs once, above.
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        NSS_WRAPPER_DISABLE_DEEPBIND=1 ctest --test-dir "$top/build-sanitize" --output-on-failure -j "$jobs" \
        -LE wm-matrix
}

case "${1:-}" in
run)
    shift
    run "$@"
    ;;
test)
    test_all
    ;;
*)
    sed -n '2,3s/^# //p' "$0" >&2
    exit 2
    ;;
esac
