#!/bin/sh
# two-monitors.sh COMMAND [ARG...]
# Runs COMMAND on a private X display with two 1920x1080 monitors side by side
# and no window manager, then stops the servers. Xvfb lays every Xinerama head
# at the origin and has no RandR monitors to split a wide screen, so the
# display is an Xephyr with Xinerama, nested in an Xvfb. Exits 77 (skipped)
# when Xephyr or Xvfb is missing.
set -eu
for tool in Xvfb Xephyr xdpyinfo; do
    command -v "$tool" >/dev/null 2>&1 || { echo "two-monitors.sh: $tool is missing" >&2; exit 77; }
done

. "$(dirname "$0")/xdisplay.sh"

outer=$(free_display)
Xvfb "$outer" -screen 0 3840x1080x24 -nolisten tcp >/dev/null 2>&1 &
outer_pid=$!
nested_pid=""
trap 'kill $nested_pid $outer_pid 2>/dev/null || true' EXIT HUP INT TERM
wait_display "$outer"
nested=$(free_display)
DISPLAY="$outer" Xephyr "$nested" +xinerama -extension RANDR -br -nolisten tcp \
    -screen 1920x1080x24 -screen 1920x1080x24 >/dev/null 2>&1 &
nested_pid=$!
wait_display "$nested"

status=0
DISPLAY="$nested" "$@" || status=$?
exit "$status"
