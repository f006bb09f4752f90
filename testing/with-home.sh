#!/bin/sh
# with-home.sh COMMAND [ARG...]
# Runs COMMAND with a fresh temporary home directory. The program takes its home
# from the password database, so nss_wrapper serves a private passwd file naming
# that directory: no test can touch the real home. HOME points there too, for
# Qt and the tests themselves. The directory is removed afterwards; SIGINT or
# SIGTERM ends COMMAND and the script at once.
set -eu
: "${NSS_WRAPPER_LIB:=$(ls /usr/lib/*/libnss_wrapper.so /usr/local/lib/libnss_wrapper.so 2>/dev/null | head -n 1)}"
[ -n "$NSS_WRAPPER_LIB" ] || { echo "with-home.sh: libnss_wrapper.so not found" >&2; exit 1; }

root=$(mktemp -d "${TMPDIR:-/tmp}/farewelldesk-test.XXXXXX")
trap 'rm -rf "$root"' EXIT
mkdir -m 0700 "$root/home" "$root/run"
printf 'tester:x:%s:%s:Test user:%s:/bin/sh\n' "$(id -u)" "$(id -g)" "$root/home" >"$root/passwd"
printf 'tester:x:%s:\n' "$(id -g)" >"$root/group"

export NSS_WRAPPER_PASSWD="$root/passwd" NSS_WRAPPER_GROUP="$root/group"
export LD_PRELOAD="$NSS_WRAPPER_LIB${LD_PRELOAD:+:$LD_PRELOAD}"
# A sanitizer runtime would insist on coming first; the wrapper must, for nss.
export ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export HOME="$root/home" FAREWELLDESK_TEST_HOME="$root/home" XDG_RUNTIME_DIR="$root/run"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME

# In the background, so that a signal is handled at once rather than after
# COMMAND has ended; standard input is passed on explicitly, as a background
# command would get /dev/null.
exec 3<&0
"$@" <&3 3<&- &
child=$!
exec 3<&-
trap 'kill -TERM "$child" 2>/dev/null; exit 130' INT
trap 'kill -TERM "$child" 2>/dev/null; exit 143' TERM HUP
status=0
wait "$child" || status=$?
exit "$status"
