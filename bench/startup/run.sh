#!/bin/sh
# bench/startup/run.sh [BUILD_DIR [RUNS]]
# Start-up benchmark: how soon the chooser is mapped on an X server, beside the
# reference programs of ../shared/bench-reference measured in the same run
# with its harness.py:
#   bare       an empty Qt dialog (the floor), Qt's xcb GL integration off
#   reference  grab, dim in place, labels and a dialog of seven buttons, GL off
#   program    BUILD_DIR/farewelldesk with harmless commands, in a private home
# at 1920x1080, at 3840x2160 (also without MIT-SHM, as on a remote display)
# and with two 1920x1080 monitors side by side. Medians of RUNS runs (default
# 20), their ratio to the reference's, and the peak RSS; then the backdrop's
# steps, timed in process by BUILD_DIR/bench/bench_grabdim.
# Prints figures; it fails only when something cannot be built or started.
#
# Each layout runs on its own private display (testing/with-xserver).
# Needs: g++, qtbase5-dev, libx11-dev, xvfb, xserver-xephyr, x11-utils, python3.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

# measure LABEL FULLSIZE: the programs on the private display this script was
# started on by with-xserver (below), with the settings it exported. The
# chooser is the first window mapped in neither the size of a screen nor the
# one pixel of the program's keyboard grab window.
measure() {
    label=$1 size=$2
    echo "measuring $label ($BENCH_RUNS runs each)"
    set -- python3 "$BENCH_KIT/harness.py" --runs "$BENCH_RUNS" --watcher "$BENCH_WORK/xmapwatch" \
        --no-xvfb --display "$DISPLAY" --screen "$label"
    "$@" --selfexit --title '^PerfBareDialog$' --label "bare-$label" \
        --env QT_XCB_GL_INTEGRATION=none -- "$BENCH_WORK/bare"
    "$@" --selfexit --not-size "$size,1x1" --label "reference-$label" \
        --env QT_XCB_GL_INTEGRATION=none --env PERF_DIM_MODE=inplace -- "$BENCH_WORK/reference"
    "$@" --not-size "$size,1x1" --label "program-$label" \
        -- "$BENCH_BUILD/farewelldesk" -L true -S true -l true -r true -s true
    QT_XCB_GL_INTEGRATION=none "$BENCH_BUILD/bench/bench_grabdim" "$BENCH_RUNS" \
        >"$BENCH_OUT/grabdim-$label.txt"
}
if [ "${1:-}" = --measure ]; then
    shift
    measure "$@" >>"$BENCH_WORK/harness.log"
    exit
fi

# The program reads its home from the password database: run all of this in a
# private one, so the lock file and anything Qt writes stay out of the real home.
if [ -z "${FAREWELLDESK_TEST_HOME:-}" ]; then
    exec "$root/testing/with-home.sh" "$0" "$@"
fi

# The benchmarks are built with the tests only.
BENCH_BUILD=$(cd "${1:-$root/build-test}" && pwd)
BENCH_RUNS=${2:-20}
BENCH_KIT=${BENCH_REFERENCE:-$(cd "$root/../shared/bench-reference" && pwd)}
for file in "$BENCH_BUILD/farewelldesk" "$BENCH_BUILD/bench/bench_grabdim"; do
    [ -x "$file" ] || { echo "run.sh: $file is not built" >&2; exit 1; }
done

BENCH_WORK=$(mktemp -d "${TMPDIR:-/tmp}/farewelldesk-startup.XXXXXX")
trap 'rm -rf "$BENCH_WORK"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP
BENCH_OUT="$BENCH_WORK/out"
mkdir -p "$BENCH_OUT"
export BENCH_BUILD BENCH_RUNS BENCH_KIT BENCH_WORK BENCH_OUT

echo "building the reference programs in $BENCH_WORK"
qt=$(pkg-config --cflags --libs Qt5Widgets)
g++ -O2 -std=c++17 -fPIC -I"$BENCH_KIT" "$BENCH_KIT/bare.cpp" -o "$BENCH_WORK/bare" $qt
g++ -O2 -std=c++17 -fPIC -I"$BENCH_KIT" "$BENCH_KIT/reference.cpp" -o "$BENCH_WORK/reference" $qt
gcc -O2 "$BENCH_KIT/xmapwatch.c" -o "$BENCH_WORK/xmapwatch" -lX11

# on_display MONITORS LABEL FULLSIZE [with-xserver options]: one layout, on a
# display of its own. In the background, so that a signal ends this script at
# once; with-xserver stops its servers when it is signalled itself.
on_display() {
    python3 "$root/testing/with-xserver" --monitors "$1" ${4:-} -- "$0" --measure "$2" "$3" &
    layout=$!
    wait "$layout"
}
trap 'kill -TERM "$layout" 2>/dev/null; exit 130' INT
trap 'kill -TERM "$layout" 2>/dev/null; exit 143' TERM HUP
on_display 1920x1080 1920x1080 1920x1080
on_display 3840x2160 3840x2160 3840x2160
on_display 3840x2160 3840x2160-no-shm 3840x2160 --no-shm
on_display 1920x1080,1920x1080 2x1920x1080 1920x1080

python3 - "$BENCH_OUT" <<'PY'
import json, os, sys
out = sys.argv[1]
layouts = ["1920x1080", "3840x2160", "3840x2160-no-shm", "2x1920x1080"]
def summary(name):
    path = os.path.join(out, "result-%s.json" % name)
    return json.load(open(path))["summary"] if os.path.exists(path) else {}
print("\nms from spawn to the dialog's MapNotify (median [min..max]), peak RSS (median)")
print("%-16s %-10s %26s %10s %12s" % ("layout", "program", "mapped ms", "RSS MB", "vs reference"))
for layout in layouts:
    ref = summary("reference-" + layout).get("x_map_dialog_ms", {}).get("median")
    for name in ["bare", "reference", "program"]:
        s = summary("%s-%s" % (name, layout))
        m, rss = s.get("x_map_dialog_ms"), s.get("maxrss_kb")
        if not m:
            print("%-16s %-10s %26s" % (layout, name, "no map seen"))
            continue
        ratio = "%.2fx" % (m["median"] / ref) if ref else "-"
        print("%-16s %-10s %8.1f [%6.1f..%7.1f] %10.1f %12s" % (layout, name, m["median"], m["min"],
              m["max"], rss["median"] / 1024 if rss else float("nan"), ratio))
for layout in layouts:
    path = os.path.join(out, "grabdim-%s.txt" % layout)
    if os.path.exists(path):
        print("\n" + open(path).read().rstrip())
PY
