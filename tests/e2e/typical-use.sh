#!/usr/bin/env bash
# The typical use of Corvista from start to exit, driven through real X input on a private
# Xvfb screen: open the sample study from the File menu, centre the ROI with the centre bars,
# show the profile graphs and the bull's-eye, save variant B, play and stop the cine loop,
# copy the detail view to the clipboard and exit with Alt+X. Each step is checked against the
# pictures and the results file the command-line tools make from the same study and settings,
# and against the captions the window writes to its event log (CORVISTA_EVENT_LOG).
#
#   typical-use.sh CORVISTA PHANTOM RENDER EXPORT
#
# CORVISTA_E2E_KEEP=DIR keeps the screenshots, the pictures and the event log in DIR;
# CORVISTA_E2E_TIME=1 runs the program under /usr/bin/time -v (its report goes to DIR too).
set -euo pipefail

program=$(realpath "$1") phantom=$(realpath "$2") render=$(realpath "$3") export=$(realpath "$4")
for tool in Xvfb xdotool xclip import compare; do
  command -v "$tool" >/dev/null || { echo "typical-use: $tool is missing (scripts/setup-machine installs it)"; exit 1; }
done
# ImageMagick's own convert, whatever else a PATH offers under that name.
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert

work=$(mktemp -d "${TMPDIR:-/tmp}/corvista-e2e.XXXXXX")
xvfb_pid='' program_pid='' watchdog_pid=''
cleanup() {
  local status=$?
  [ -n "$watchdog_pid" ] && kill "$watchdog_pid" 2>/dev/null || true
  if [ -n "$program_pid" ]; then
    # Under /usr/bin/time the program is the child of the process started here.
    for child in $(pgrep -P "$program_pid" 2>/dev/null || true); do kill "$child" 2>/dev/null || true; done
    kill "$program_pid" 2>/dev/null || true
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  if [ -n "${CORVISTA_E2E_KEEP:-}" ]; then
    mkdir -p "$CORVISTA_E2E_KEEP"
    cp -r "$work"/. "$CORVISTA_E2E_KEEP"/
  fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "typical-use: FAILED: $*" >&2
  echo "--- event log" >&2
  cat "$work/events.log" >&2 2>/dev/null || true
  echo "--- program output" >&2
  tail -n 40 "$work/program.out" >&2 2>/dev/null || true
  exit 1
}
step() { echo "typical-use: $*"; }

# A screen of its own: Xvfb picks a display number nobody uses and tells it through a pipe.
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.out" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.out")"
  sleep 0.05
done
[ -s "$work/display" ] || fail "Xvfb gave no display number"
export DISPLAY=:$(head -n 1 "$work/display")
unset XAUTHORITY

cd "$work"
mkdir -p runtime && chmod 700 runtime
export XDG_RUNTIME_DIR=$work/runtime
"$phantom" --seed 1 --noise --defect PHANTOM >/dev/null || fail "corvista-phantom"
study=$work/PHANTOM.d01
# The largest count of the 16 frame files, read past each 9984-byte header.
count_range=$(for f in PHANTOM.d??; do tail -c 131072 "$f" | od -An -v -t d2 -w32; done |
  awk 'BEGIN { m = -32769 } { for (i = 1; i <= NF; ++i) if ($i > m) m = $i } END { print m }')

# --- The program ----------------------------------------------------------------------------
log=$work/events.log
: > "$log"
launcher=()
if [ "${CORVISTA_E2E_TIME:-}" = 1 ]; then launcher=(/usr/bin/time -v -o "$work/time.txt"); fi
date +%s%6N > started_us
# xcb and fontconfig keep allocations to the end, which LeakSanitizer would report.
env QT_QPA_PLATFORM=xcb CORVISTA_EVENT_LOG="$log" \
  ASAN_OPTIONS="detect_leaks=0:abort_on_error=1" "${launcher[@]}" "$program" >program.out 2>&1 &
program_pid=$!
# Should this script be killed outright (a test timeout), the screen and the program go too.
(
  while kill -0 $$ 2>/dev/null; do sleep 1; done
  for child in $(pgrep -P "$program_pid" 2>/dev/null || true); do kill "$child" 2>/dev/null; done
  kill "$program_pid" "$xvfb_pid" 2>/dev/null
  sleep 1
  rm -rf "$work"
) >/dev/null 2>&1 &
watchdog_pid=$!

# Waits until the event log has a line of `handler` after line $seen; prints that line.
seen=0
wait_log() {
  local handler=$1 line
  for _ in $(seq 300); do
    line=$(tail -n +"$((seen + 1))" "$log" | awk -F'\t' -v h="$handler" '$2 == h { print; exit }')
    if [ -n "$line" ]; then
      echo "$line"
      return 0
    fi
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended while waiting for $handler"
    sleep 0.05
  done
  fail "no $handler in the event log"
}
mark() { seen=$(wc -l < "$log"); }
caption() { # caption NAME LINE
  awk -F'\t' -v n="$1=" '{ for (i = 6; i <= NF; ++i) if (index($i, n) == 1) print substr($i, length(n) + 1) }' <<<"$2"
}

wait_log Shown >/dev/null
window=$(xdotool search --sync --onlyvisible --name '^Corvista' | head -n 1)
# No window manager: the X window is the client area with the menu bar above it.
eval "$(xdotool getwindowgeometry --shell "$window")"
client_x=$X
client_y=$((Y + HEIGHT - 705))
step "window $window at $X,$Y ${WIDTH}x$HEIGHT; client area at $client_x,$client_y"

keys() { xdotool windowfocus --sync "$window" && xdotool key --delay 80 "$@"; }
click() { # click CLIENT_X CLIENT_Y
  # (mousemove --sync would wait for ever when the pointer is there already)
  xdotool mousemove "$((client_x + $1))" "$((client_y + $2))" sleep 0.05 click 1
}
screenshot() { # prints the file of a new screenshot of the whole screen
  local file
  file=$work/shot-$(date +%s%N).png
  import -window root "$file"
  echo "$file"
}
region() { # region SHOT W H CLIENT_X CLIENT_Y OUT
  "$convert" "$1" -crop "$2x$3+$((client_x + $4))+$((client_y + $5))" +repage "$6"
}
differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
pixel() { "$convert" "$1" -crop "1x1+$((client_x + $2))+$((client_y + $3))" -format '%[pixel:p{0,0}]' info:; }
# The colours of a row of the colour bar: one colour, as "R,G,B".
bar_row() {
  "$convert" "$1" -crop "25x1+$((client_x + 568))+$((client_y + $2))" +repage -unique-colors -depth 8 txt:- |
    awk 'NR > 1 { n++; c = $2 } END { gsub(/[()]/, "", c); print (n == 1 ? c : "mixed") }'
}
# Waits until a region of the screen equals a picture (the server may take a moment to show
# what the program drew). Image1's last 6 rows lie under the "map" group box, so the montage
# and the map panel are compared on their first 536 rows.
expect_region() { # expect_region WHAT REFERENCE W H CLIENT_X CLIENT_Y
  local what=$1 ref=$2 w=$3 h=$4 x=$5 y=$6 s n=''
  "$convert" "$ref" -crop "${w}x$h+0+0" +repage "$work/ref-$what.png"
  for _ in $(seq 20); do
    s=$(screenshot)
    region "$s" "$w" "$h" "$x" "$y" "$work/got-$what.png"
    n=$(differing "$work/got-$what.png" "$work/ref-$what.png")
    [ "$n" = 0 ] && return 0
    sleep 0.1
  done
  fail "$what: $n pixels differ from $ref"
}
render_ref() { # render_ref OUT ARGS...
  local out=$1
  shift
  "$render" "$@" "$study" "$out" || fail "corvista-render $*"
}
answer_dialog() { # answer_dialog TITLE PATH
  local dialog
  dialog=$(xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1)
  xdotool windowfocus --sync "$dialog"
  xdotool type --delay 10 "$2"
  # A first Return may only close the name completer's list.
  for _ in 1 2 3; do
    xdotool key Return
    sleep 0.3
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
  done
  fail "the $1 dialog stays open"
}

# --- 1. Open the sample: slice 8, phase 8 -----------------------------------------------------
step "1. File > Open $study"
mark
keys alt+f o
answer_dialog Open "$study"
line=$(wait_log OpenItemClick)
[ "$(caption Label1 "$line")" = "$count_range" ] || fail "Label1 is '$(caption Label1 "$line")', not $count_range"
[ "$(caption StatusBar "$line")" = "$study" ] || fail "the status bar shows '$(caption StatusBar "$line")'"
render_ref slice.png --view slice
render_ref detail.png --view detail
expect_region montage slice.png 542 536 8 40
expect_region detail detail.png 256 256 640 88
s=$(screenshot)
[ "$(bar_row "$s" 48)" = "255,1,0" ] || fail "colour bar top row: $(bar_row "$s" 48)"
[ "$(bar_row "$s" 559)" = "0,0,0" ] || fail "colour bar bottom row: $(bar_row "$s" 559)"

# --- 2. Centre the ROI: three steps right, two down -------------------------------------------
step "2. centre bars"
for _ in 1 2 3; do
  mark
  click $((656 + 225 - 8)) 58
  wait_log ScrollBarXChange >/dev/null
done
for _ in 1 2; do
  mark
  click 922 $((104 + 225 - 8))
  wait_log ScrollBarYChange >/dev/null
done
centre=67,66
render_ref detail-centred.png --view detail --centre "$centre"
expect_region detail-centred detail-centred.png 256 256 640 88

# --- 3. "map": the all-phase profile graphs, then the bull's-eye BI ---------------------------
step "3. map GA, then BI"
mark
click $((8 + 200 + 28)) $((624 + 24 + 8))
wait_log OnMapSelet >/dev/null
render_ref ga.png --view GA --centre "$centre"
expect_region ga ga.png 542 536 8 40
mark
click $((8 + 536 + 24)) $((576 + 24 + 8))
line=$(wait_log OnMAPSelectClick)
[ "$(caption Label1 "$line")" = 50 ] && [ "$(caption Label2 "$line")" = 50 ] ||
  fail "after BI the colour bar reads $(caption Label1 "$line") and $(caption Label2 "$line"), not 50 and 50"
render_ref bi.png --view BI --centre "$centre"
expect_region bi bi.png 542 536 8 40
s=$(screenshot)
[ "$(bar_row "$s" 48)" = "255,0,0" ] || fail "percent bar top row: $(bar_row "$s" 48)"
[ "$(bar_row "$s" 559)" = "0,0,255" ] || fail "percent bar bottom row: $(bar_row "$s" 559)"
# The detail view of phase 8 in this map kind (no angle marker), for the steps below.
region "$s" 256 256 640 88 detail-bi.png

# --- 4. Variant B through File > Save As ------------------------------------------------------
step "4. variant B, File > Save As"
mark
click $((584 + 24)) $((4 + 8))
wait_log OnRBSaveClick >/dev/null
mark
keys alt+f s
answer_dialog "Save As" "$work/results.csv"
wait_log SaveItemClick >/dev/null
"$export" --variant B --centre "$centre" "$study" expected.csv || fail "corvista-export"
[ -f results.csv ] || fail "no results file"
cmp results.csv expected.csv || fail "the saved file differs from corvista-export's"

# --- 5. The cine loop: playing, then stopped on phase 8 ---------------------------------------
step "5. cine loop"
mark
click $((280 + 32)) $((640 + 16))
wait_log CinePreparation >/dev/null
sleep 0.2
s1=$(screenshot)
sleep 0.35
s2=$(screenshot)
region "$s1" 256 256 640 88 playing1.png
region "$s2" 256 256 640 88 playing2.png
[ "$(differing playing1.png playing2.png)" != 0 ] || fail "the detail view does not change while the loop plays"
mark
click $((352 + 33)) $((640 + 16))
wait_log OnMoveClick >/dev/null
expect_region detail-stopped detail-bi.png 256 256 640 88

# --- 6. Edit > Copy of the detail view ----------------------------------------------------------
step "6. Edit > Copy"
mark
click $((640 + 128)) $((88 + 128))
wait_log OnImage3MouseDpwn >/dev/null
mark
keys alt+e c
wait_log KC1Click >/dev/null
xclip -selection clipboard -t image/png -o > clipboard.png || fail "nothing on the clipboard"
"$convert" clipboard.png -alpha off clipboard-rgb.png
n=$(differing clipboard-rgb.png detail-bi.png)
[ "$n" = 0 ] || fail "the clipboard picture differs from the detail view in $n pixels"

# --- 7. Alt+X ------------------------------------------------------------------------------------
step "7. Alt+X"
keys alt+x
for _ in $(seq 100); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.05
done
kill -0 "$program_pid" 2>/dev/null && fail "the program is still running after Alt+X"
status=0
wait "$program_pid" || status=$?
program_pid=''
[ "$status" = 0 ] || fail "the program ended with status $status"
step "passed"
