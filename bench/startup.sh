#!/bin/sh
# Times Tabrel's whole start-up, from the start of the process to a filled
# main window (closed by TABREL_QUIT_AFTER_START once its record list has
# been painted), against a bare Qt program showing one empty main window
# (closed once painted), both as whole processes under the same
# QT_QPA_PLATFORM (default offscreen; for the X server:
# QT_QPA_PLATFORM=xcb xvfb-run -a bench/startup.sh).
#   bench/startup.sh [BUILD_DIR] [RECORDS] [RUNS]
set -eu
build=${1:-build}
records=${2:-32767}
runs=${3:-15}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_DATA_HOME="$scratch"
mkdir -p "$scratch/tabrel"
"$build/tabrel_sample" --force "$scratch/tabrel" "$records" >/dev/null

# Median wall-clock milliseconds of RUNS runs of the command.
median_ms() {
  i=0
  : >"$scratch/times"
  while [ "$i" -lt "$runs" ]; do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000000)) >>"$scratch/times"
    i=$((i + 1))
  done
  sort -n "$scratch/times" | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
}

bare=$(median_ms "$build/tabrel_bare_window")
text=$(median_ms "$build/tabrel_bare_window" --text)
tabrel=$(median_ms env TABREL_QUIT_AFTER_START=1 "$build/tabrel")
echo "QT_QPA_PLATFORM=$QT_QPA_PLATFORM, $records records, median of $runs runs"
echo "bare Qt main window: $bare ms"
echo "  with a line of text (fonts loaded): $text ms"
echo "Tabrel start-up:     $tabrel ms"
awk -v t="$tabrel" -v b="$bare" 'BEGIN { printf "ratio:               %.2f (at most 1.50)\n", t / b }'
awk -v t="$tabrel" -v b="$text" 'BEGIN { printf "  to the window with text: %.2f\n", t / b }'
