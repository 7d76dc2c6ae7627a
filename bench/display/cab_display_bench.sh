#!/usr/bin/env bash
# The cab display's costs, measured as whole programs under an Xvfb of its own (not a test):
#
#   - CPU of the desktop program driving the demo line at the filming speed (Shift+F1) for 60 s of
#     drive, against ffplay showing the same route movie at 800 x 600 for 60 s in the same Xvfb
#     (audio off); the same for the cab view alone (kestrel-cab-harness);
#   - CPU of the desktop program while paused (the "Start" menu);
#   - decodes per shown frame (frames asked of the reader per new frame number, and frames the
#     decoder produced per frame shown);
#   - the cost of a new frame when rolling backwards (the decode alone, and the whole render step);
#   - time from the train click to the first cab frame (the desktop program's own report);
#   - peak memory.
#
# usage: bench/display/cab_display_bench.sh [BUILD_DIR] [SECONDS]
#   BUILD_DIR  a configured and built tree with the tests (default build/release): its
#              src/app/kestrel, and tests/kestrel-cab-harness, the cab view on a drive that sets
#              its own speed, which counts decodes and times the render step
#   SECONDS    length of each run (default 60)
# The content is $KESTREL_DEMO_DIR, or the full demo made once into BUILD_DIR/demo-full.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:-$ROOT/build/release}" && pwd)
SECONDS_EACH=${2:-60}
HARNESS=$BUILD/tests/kestrel-cab-harness
DESKTOP=$BUILD/src/app/kestrel
for p in "$HARNESS" "$DESKTOP"; do [ -x "$p" ] || { echo "no $p: build first" >&2; exit 1; }; done
DEMO=${KESTREL_DEMO_DIR:-$BUILD/demo-full}
if [ ! -f "$DEMO/railvane.dat" ]; then
  echo "== making the full demo in $DEMO"
  "$BUILD/src/tools/kestrel-make-demo" "$DEMO" >/dev/null
fi
MOVIE=$DEMO/movie/kestrel_line.avi
LINE=line_rapid.dat
TRAIN=train_313-1000_8cars.dat
WORK=${KESTREL_BENCH_WORK:-$(mktemp -d)}

# Our own X server; the pipe stays open while it runs (it may write its number in pieces).
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
XVFB_PID=$!
read -r -u 3 DISPLAY_NUMBER
cleanup() { kill "$XVFB_PID" 2>/dev/null || true; rm -rf "$WORK"; }
trap cleanup EXIT
export DISPLAY=:$DISPLAY_NUMBER QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] && break; sleep 0.1; done

# key=value of a report line
value() { tr ' ' '\n' <<<"$1" | sed -n "s/^$2=//p"; }

harness() {  # name, arguments...
  local name=$1; shift
  /usr/bin/time -f "time cpu_process_s=%U+%S rss_kb=%M" -o "$WORK/$name.time" \
    "$HARNESS" --data "$DEMO" --line "$LINE" --train "$TRAIN" --seconds "$SECONDS_EACH" "$@" \
    >"$WORK/$name.out" 2>/dev/null
  grep '^drive=' "$WORK/$name.out"
}

# CPU clock ticks of a process so far (user + system).
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# The desktop program on a drive from the command line: Shift+F1 runs it at the filming speed;
# a click on the "Start" menu pauses it. CPU and memory of the whole process.
desktop() {  # name, then "filming" or "paused"
  local name=$1 how=$2 config=$WORK/$1-config pid wid program
  mkdir -p "$config"
  XDG_CONFIG_HOME=$config ALSOFT_DRIVERS=null /usr/bin/time -f "%U %S %M" -o "$WORK/$name.time" \
    "$DESKTOP" --data "$DEMO" --line "$LINE" --train "$TRAIN" --trace "$WORK/$name.csv" \
    >/dev/null 2>"$WORK/$name.err" &
  pid=$!
  wid=$(xdotool search --sync --name "$CAB_CAPTION" | head -1)
  program=$(ps --ppid "$pid" -o pid= | tr -d ' ')  # the program, child of time
  sleep 1
  xdotool windowfocus --sync "$wid"
  if [ "$how" = filming ]; then xdotool key --window "$wid" shift+F1; else xdotool mousemove --window "$wid" 25 8 click 1; fi
  sleep 0.5
  local before after
  before=$(ticks "$program")
  sleep "$SECONDS_EACH"
  after=$(ticks "$program")
  awk -v a="$before" -v b="$after" -v s="$SECONDS_EACH" -v hz="$(getconf CLK_TCK)" \
    'BEGIN { printf "%.4f\n", (b - a) / hz / s }' >"$WORK/$name.share"
  # The program itself is ended; time then writes what it used.
  kill "$program"
  wait "$pid" 2>/dev/null || true
}
CAB_CAPTION=$(iconv -f CP932 -t UTF-8 "$DEMO/$LINE" | sed -n '/^\[LineName\]/{n;p;q}' | tr -d '\r')

echo "== desktop program at the filming speed, ${SECONDS_EACH} s"
desktop desktop-filming filming
echo "== desktop program paused, ${SECONDS_EACH} s"
desktop desktop-paused paused
echo "== cab view (harness) forward at the filming speed, ${SECONDS_EACH} s"
FORWARD=$(harness forward --drive forward --start-frame 100)
echo "== cab view (harness) paused, ${SECONDS_EACH} s"
PAUSED=$(harness paused --drive paused --start-frame 100)
echo "== cab view (harness) backward at the filming speed, ${SECONDS_EACH} s"
BACKWARD=$(harness backward --drive backward --start-frame $((100 + 30 * SECONDS_EACH + 300)))
echo "== ffplay, the same movie at 800 x 600, ${SECONDS_EACH} s"
/usr/bin/time -f "%U %S %M" -o "$WORK/ffplay.time" \
  ffplay -v error -an -x 800 -y 600 -t "$SECONDS_EACH" -autoexit "$MOVIE" >/dev/null 2>&1
# time's last line holds the figures (a line before it may say how the program ended).
read -r FF_USER FF_SYS FF_RSS < <(tail -1 "$WORK/ffplay.time")
read -r DF_USER DF_SYS DF_RSS < <(tail -1 "$WORK/desktop-filming.time")
FIRST_MS=$(sed -n 's/.*first frame of the cab window \([0-9]*\) ms.*/\1/p' "$WORK/desktop-filming.err" | head -1)
FRAMES=$(awk -F, 'NR == 2 { first = $6 } END { print $6 - first }' "$WORK/desktop-filming.csv")

process_cpu() { awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^cpu_process_s=/) { split(substr($i, 15), a, "+"); print a[1] + a[2] } }' "$WORK/$1.time"; }
sum() { awk -v a="$1" -v b="$2" 'BEGIN { print a + b }'; }
FF_CPU=$(sum "$FF_USER" "$FF_SYS")
DF_CPU=$(sum "$DF_USER" "$DF_SYS")
HV_CPU=$(process_cpu forward)
RATIO=$(awk -v a="$DF_CPU" -v b="$FF_CPU" 'BEGIN { printf "%.2f", a / b }')
HV_RATIO=$(awk -v a="$HV_CPU" -v b="$FF_CPU" 'BEGIN { printf "%.2f", a / b }')
PAUSE_SHARE=$(cat "$WORK/desktop-paused.share")

verdict() { if awk "BEGIN { exit !($1) }"; then echo ok; else echo MISSED; fi; }
echo
printf '%-56s %-26s %-10s %s\n' "measure" "value" "target" "verdict"
printf '%-56s %-26s %-10s %s\n' "CPU, desktop program at the filming speed / ffplay" \
  "$DF_CPU s / $FF_CPU s = $RATIO" "<= 2.0" "$(verdict "$RATIO <= 2.0")"
printf '%-56s %-26s %-10s %s\n' "  frames the desktop drive moved; CPU share while driving" \
  "$FRAMES; $(cat "$WORK/desktop-filming.share")" "" ""
printf '%-56s %-26s %-10s %s\n' "CPU, cab view alone (harness) / ffplay" "$HV_CPU s / $FF_CPU s = $HV_RATIO" "" ""
printf '%-56s %-26s %-10s %s\n' "CPU, desktop program paused (share of a core)" "$PAUSE_SHARE" "<= 0.01" \
  "$(verdict "$PAUSE_SHARE <= 0.01")"
printf '%-56s %-26s %-10s %s\n' "CPU, cab view paused alone (share of a core)" "$(value "$PAUSED" cpu_share)" "<= 0.01" \
  "$(verdict "$(value "$PAUSED" cpu_share) <= 0.01")"
printf '%-56s %-26s %-10s %s\n' "frames asked of the reader per new frame" "1 (by construction)" "1.0" "ok"
printf '%-56s %-26s %-10s %s\n' "decoder frames per shown frame, forward" "$(value "$FORWARD" decodes_per_shown)" \
  "1.0" "$(verdict "$(value "$FORWARD" decodes_per_shown) <= 1.02")"
printf '%-56s %-26s %-10s %s\n' "decoder frames per shown frame, backward" "$(value "$BACKWARD" decodes_per_shown)" \
  "" ""
printf '%-56s %-26s %-10s %s\n' "decode of a frame backward (ms)" "$(value "$BACKWARD" decode_ms)" "<= 2" \
  "$(verdict "$(value "$BACKWARD" decode_ms) <= 2")"
printf '%-56s %-26s %-10s %s\n' "render step with a new frame, backward (ms wall / CPU)" \
  "$(value "$BACKWARD" ms_per_new_frame) / $(value "$BACKWARD" cpu_ms_per_new_frame)" "<= 2" \
  "$(verdict "$(value "$BACKWARD" ms_per_new_frame) <= 2")"
printf '%-56s %-26s %-10s %s\n' "render step with a new frame, forward (ms wall / CPU)" \
  "$(value "$FORWARD" ms_per_new_frame) / $(value "$FORWARD" cpu_ms_per_new_frame)" "" ""
printf '%-56s %-26s %-10s %s\n' "train click to the first cab frame (ms)" "$FIRST_MS" "<= 1000" \
  "$(verdict "${FIRST_MS:-99999} <= 1000")"
printf '%-56s %-26s %-10s %s\n' "peak memory, desktop program (MB)" "$((DF_RSS / 1024))" "<= 250" \
  "$(verdict "$DF_RSS / 1024 <= 250")"
printf '%-56s %-26s %-10s %s\n' "peak memory, ffplay (MB)" "$((FF_RSS / 1024))" "" ""
echo
echo "harness forward:  $FORWARD"
echo "harness paused:   $PAUSED"
echo "harness backward: $BACKWARD"
