#!/usr/bin/env bash
# Start-up time, answer times and peak memory of the program during the typical use, from
# RUNS walks of typical-use.sh (default 5) on the build in BUILD_DIR (default build/release):
#   tests/e2e/measure.sh [BUILD_DIR] [RUNS]
# Start-up: from the moment before the program is started to the window's first paint.
# Answers: the longest handler of the event log; the handlers that wait for a dialog or play
# the cine loop are left out (OpenItemClick, SaveItemClick, OnMoveClick), their answers are
# timed as OpenStudy, SaveResults and CinePreparation. Memory: the largest resident set of
# the program under /usr/bin/time -v, over the whole walk, cine loop included.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$root/build/release}
runs=${2:-5}
out=$(mktemp -d "${TMPDIR:-/tmp}/corvista-measure.XXXXXX")
trap 'rm -rf "$out"' EXIT

for i in $(seq "$runs"); do
  CORVISTA_E2E_TIME=1 CORVISTA_E2E_KEEP="$out/$i" "$root/tests/e2e/typical-use.sh" \
    "$build/src/ui/corvista" "$build/tools/corvista-phantom" "$build/tools/corvista-render" \
    "$build/tools/corvista-export" >/dev/null
  started=$(cat "$out/$i/started_us")
  rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$out/$i/time.txt")
  awk -F'\t' -v started="$started" -v run="$i" -v rss="$rss" '
    $2 == "Shown" { startup = ($1 - started) / 1000 }
    $2 != "Shown" && $2 != "OpenItemClick" && $2 != "SaveItemClick" && $2 != "OnMoveClick" {
      if ($4 > worst) { worst = $4; which = $2 }
      if ($2 ~ /^(OpenStudy|SaveResults|CinePreparation)$/) timed = timed sprintf(" %s %.1f ms;", $2, $4 / 1000)
      else if ($4 > control) { control = $4; controlName = $2 }
    }
    END {
      printf "run %d: start-up %.1f ms; longest answer %.1f ms (%s); longest control handler %.1f ms (%s);%s peak RSS %.1f MiB\n",
        run, startup, worst / 1000, which, control / 1000, controlName, timed, rss / 1024
    }' "$out/$i/events.log"
done
