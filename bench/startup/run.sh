#!/bin/sh
# bench/startup/run.sh [BUILD_DIR [RUNS]]
# Start-up benchmark: how soon the chooser is mapped on an X server, beside the
# reference programs of ../shared/bench-reference measured in the same run:
#   bare       an empty Qt dialog (the floor), Qt's xcb GL integration off
#   reference  grab, dim in place, labels and a dialog of seven buttons, GL off
#   program    BUILD_DIR/farewelldesk with harmless commands, in a private home
#   program-gl-off  the same with QT_XCB_GL_INTEGRATION=none in its environment
# at 1920x1080, at 3840x2160 and with two 1920x1080 monitors side by side.
# Medians of RUNS runs (default 20) and the peak RSS; then the backdrop's own
# grab and dim times, measured in process by BUILD_DIR/bench/bench_grabdim.
# Prints figures; it fails only when something cannot be built or started.
#
# Two monitors: Xvfb lays every Xinerama head at the origin and has no RandR
# monitors to split a wide screen, so the two-monitor case runs on Xephyr with
# Xinerama (two screens side by side), nested in an Xvfb.
# Needs: g++, qtbase5-dev, libx11-dev, xvfb, xserver-xephyr, x11-utils, python3.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
# The program reads its home from the password database: run all of this in a
# private one, so the lock file and anything Qt writes stay out of the real home.
if [ -z "${FAREWELLDESK_TEST_HOME:-}" ]; then
    exec "$root/tests/with-home.sh" "$0" "$@"
fi

build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-20}
kit=${BENCH_REFERENCE:-$(cd "$root/../shared/bench-reference" && pwd)}
program=$build/farewelldesk
grabdim=$build/bench/bench_grabdim
for file in "$program" "$grabdim"; do
    [ -x "$file" ] || { echo "run.sh: $file is not built" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/farewelldesk-startup.XXXXXX")
servers=""
cleanup() {
    for pid in $servers; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT HUP INT TERM
export BENCH_OUT="$work/out"
mkdir -p "$BENCH_OUT"

echo "building the reference programs in $work"
qt=$(pkg-config --cflags --libs Qt5Widgets)
g++ -O2 -std=c++17 -fPIC -I"$kit" "$kit/bare.cpp" -o "$work/bare" $qt
g++ -O2 -std=c++17 -fPIC -I"$kit" "$kit/reference.cpp" -o "$work/reference" $qt
gcc -O2 "$kit/xmapwatch.c" -o "$work/xmapwatch" -lX11

. "$here/xdisplay.sh"

# start_server DISPLAY COMMAND...: starts an X server in the background.
start_server() {
    display=$1
    shift
    "$@" "$display" -nolisten tcp >"$work/x$(echo "$display" | tr -d :).log" 2>&1 &
    servers="$servers $!"
    wait_display "$display"
}

# With --not-size the harness times the first window mapped in another size
# than the screen's. The program maps its one-pixel keyboard grab window
# first, so the size given compares unequal only to a window that is neither.
harness() {
    python3 - "$kit/harness.py" --runs "$runs" --watcher "$work/xmapwatch" "$@" \
        >>"$work/harness.log" <<'PY'
import argparse, runpy, sys

class DialogSize(str):
    def __ne__(self, size):
        return str(self) != size and size != "1x1"

parse_args = argparse.ArgumentParser.parse_args
def parse_args_for_dialogs(parser, *args, **kwargs):
    options = parse_args(parser, *args, **kwargs)
    if options.not_size:
        options.not_size = DialogSize(options.not_size)
    return options
argparse.ArgumentParser.parse_args = parse_args_for_dialogs
sys.argv = sys.argv[1:]
runpy.run_path(sys.argv[0], run_name="__main__")
PY
}

# measure LABEL DISPLAY FULLSIZE: the three programs on a running display.
measure() {
    label=$1 display=$2 size=$3
    echo "measuring $label ($runs runs each)"
    harness --no-xvfb --display "$display" --screen "$label" --selfexit --title '^PerfBareDialog$' \
        --label "bare-$label" --env QT_XCB_GL_INTEGRATION=none -- "$work/bare"
    harness --no-xvfb --display "$display" --screen "$label" --selfexit --not-size "$size" \
        --label "reference-$label" --env QT_XCB_GL_INTEGRATION=none --env PERF_DIM_MODE=inplace \
        -- "$work/reference"
    harness --no-xvfb --display "$display" --screen "$label" --not-size "$size" \
        --label "program-$label" \
        -- "$program" -L true -S true -l true -r true -s true
    # The same program with the GL integration switched off from outside for
    # its whole life: what it costs when the program's own switch misses.
    harness --no-xvfb --display "$display" --screen "$label" --not-size "$size" \
        --label "program-gl-off-$label" --env QT_XCB_GL_INTEGRATION=none \
        -- "$program" -L true -S true -l true -r true -s true
    DISPLAY=$display QT_XCB_GL_INTEGRATION=none "$grabdim" "$runs" >"$BENCH_OUT/grabdim-$label.txt"
}

for size in 1920x1080 3840x2160; do
    display=$(free_display)
    start_server "$display" Xvfb -screen 0 "${size}x24"
    measure "$size" "$display" "$size"
    kill "${servers##* }"
    servers=${servers% *}
done

outer=$(free_display)
start_server "$outer" Xvfb -screen 0 3840x1080x24
nested=$(free_display)
DISPLAY=$outer start_server "$nested" Xephyr +xinerama -extension RANDR -br \
    -screen 1920x1080x24 -screen 1920x1080x24
measure "2x1920x1080" "$nested" 1920x1080

python3 - "$BENCH_OUT" <<'PY'
import json, os, sys
out = sys.argv[1]
layouts = ["1920x1080", "3840x2160", "2x1920x1080"]
def summary(name):
    path = os.path.join(out, "result-%s.json" % name)
    return json.load(open(path))["summary"] if os.path.exists(path) else {}
print("\nms from spawn to the dialog's MapNotify (median [min..max]), peak RSS (median)")
print("%-13s %-15s %26s %10s %12s" % ("layout", "program", "mapped ms", "RSS MB", "vs reference"))
for layout in layouts:
    ref = summary("reference-" + layout).get("x_map_dialog_ms", {}).get("median")
    for name in ["bare", "reference", "program", "program-gl-off"]:
        s = summary("%s-%s" % (name, layout))
        m, rss = s.get("x_map_dialog_ms"), s.get("maxrss_kb")
        if not m:
            print("%-13s %-15s %26s" % (layout, name, "no map seen"))
            continue
        ratio = "%.2fx" % (m["median"] / ref) if ref else "-"
        print("%-13s %-15s %8.1f [%6.1f..%7.1f] %10.1f %12s" % (layout, name, m["median"], m["min"],
              m["max"], rss["median"] / 1024 if rss else float("nan"), ratio))
for layout in layouts:
    path = os.path.join(out, "grabdim-%s.txt" % layout)
    if os.path.exists(path):
        print("\n" + open(path).read().rstrip())
PY
