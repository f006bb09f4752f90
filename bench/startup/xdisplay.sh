# Sourced by the scripts that start private X servers.

# free_display: the first display name from :90 on that no server holds.
free_display() {
    n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    echo ":$n"
}

# wait_display DISPLAY: returns once the server answers; exits after 10 s.
wait_display() {
    tries=0
    until xdpyinfo -display "$1" >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ "$tries" -lt 200 ] || { echo "$0: X server $1 did not come up" >&2; exit 1; }
        sleep 0.05
    done
}
