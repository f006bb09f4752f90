#!/bin/sh
# run.sh SECONDS [FUZZER [LIBFUZZER OPTION...]]
# Fuzzes the configuration library for SECONDS over a working copy of the seed
# corpus, in a private home directory. FUZZER defaults to the one in
# build-fuzz/ (configure it with CMAKE_CXX_COMPILER=clang++ -DFAREWELLDESK_FUZZ=ON).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
seconds=${1:?usage: run.sh SECONDS [FUZZER [OPTION...]]}
shift
fuzzer=${1:-$here/../build-fuzz/fuzz/fuzz_conf}
[ $# -gt 0 ] && shift
[ -x "$fuzzer" ] || { echo "run.sh: no fuzzer at $fuzzer" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/farewelldesk-fuzz-corpus.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$here"/corpus/* "$work"/
# Findings land in the working directory, which is kept when it is not empty.
mkdir "$work/findings"
# In the background, so that a signal ends the run at once.
"$here/../testing/with-home.sh" "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$work/findings/" "$@" "$work" &
child=$!
trap 'kill -TERM "$child" 2>/dev/null; exit 130' INT
trap 'kill -TERM "$child" 2>/dev/null; exit 143' TERM HUP
status=0
wait "$child" || status=$?
if [ -n "$(ls "$work/findings")" ]; then
    keep=$(mktemp -d "${TMPDIR:-/tmp}/farewelldesk-fuzz-findings.XXXXXX")
    cp "$work"/findings/* "$keep"/
    echo "run.sh: findings kept in $keep" >&2
fi
exit "$status"
