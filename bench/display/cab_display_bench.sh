#!/usr/bin/env bash
# The cab display's costs, measured as whole programs under an Xvfb of its own (not a test):
#
#   - CPU of the cab view driving the demo line at the filming speed for 60 s of drive, against
#     ffplay showing the same route movie at 800 x 600 for 60 s in the same Xvfb (audio off);
#   - CPU while paused;
#   - decodes per shown frame (frames asked of the reader per new frame number, and frames the
#     decoder produced per frame shown);
#   - the cost of a new frame when rolling backwards (the decode alone, and the whole render step);
#   - time from the start of the program (the train click) to the first cab frame on the screen;
#   - peak memory.
#
# usage: bench/display/cab_display_bench.sh [BUILD_DIR] [SECONDS]
#   BUILD_DIR  a configured and built tree with the tests (default build/release); its
#              kestrel-cab-harness shows the view (the desktop program's CabView on a drive that
#              sets its own speed)
#   SECONDS    length of each run (default 60)
# The content is $KESTREL_DEMO_DIR, or the full demo made once into BUILD_DIR/demo-full.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:-$ROOT/build/release}" && pwd)
SECONDS_EACH=${2:-60}
HARNESS=$BUILD/tests/kestrel-cab-harness
[ -x "$HARNESS" ] || { echo "no $HARNESS: build the tests first" >&2; exit 1; }
DEMO=${KESTREL_DEMO_DIR:-$BUILD/demo-full}
if [ ! -f "$DEMO/railvane.dat" ]; then
  echo "== making the full demo in $DEMO"
  "$BUILD/src/tools/kestrel-make-demo" "$DEMO" >/dev/null
fi
MOVIE=$DEMO/movie/kestrel_line.avi
LINE=line_rapid.dat
TRAIN=train_313-1000_8cars.dat
WORK=$(mktemp -d)

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

echo "== cab view forward at the filming speed, ${SECONDS_EACH} s"
FORWARD=$(harness forward --drive forward --start-frame 100)
echo "== cab view paused, ${SECONDS_EACH} s"
PAUSED=$(harness paused --drive paused --start-frame 100)
echo "== cab view backward at the filming speed, ${SECONDS_EACH} s"
BACKWARD=$(harness backward --drive backward --start-frame $((100 + 30 * SECONDS_EACH + 300)))
echo "== ffplay, the same movie at 800 x 600, ${SECONDS_EACH} s"
/usr/bin/time -f "%U %S %M" -o "$WORK/ffplay.time" \
  ffplay -v error -an -x 800 -y 600 -ss 3.333 -t "$SECONDS_EACH" -autoexit "$MOVIE" >/dev/null 2>&1
read -r FF_USER FF_SYS FF_RSS <"$WORK/ffplay.time"

process_cpu() { awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^cpu_process_s=/) { split(substr($i, 15), a, "+"); print a[1] + a[2] } }' "$WORK/$1.time"; }
FWD_CPU=$(process_cpu forward)
FF_CPU=$(awk -v u="$FF_USER" -v s="$FF_SYS" 'BEGIN { print u + s }')
PAUSE_SHARE=$(value "$PAUSED" cpu_share)
RATIO=$(awk -v a="$FWD_CPU" -v b="$FF_CPU" 'BEGIN { printf "%.2f", a / b }')

verdict() { if awk "BEGIN { exit !($1) }"; then echo ok; else echo MISSED; fi; }
echo
printf '%-52s %-22s %-16s %s\n' "measure" "value" "target" "verdict"
printf '%-52s %-22s %-16s %s\n' "CPU, cab view forward / ffplay (whole processes)" \
  "$FWD_CPU s / $FF_CPU s = $RATIO" "<= 2.0" "$(verdict "$RATIO <= 2.0")"
printf '%-52s %-22s %-16s %s\n' "CPU while paused (share of a core)" "$PAUSE_SHARE" "<= 0.01" \
  "$(verdict "$PAUSE_SHARE <= 0.01")"
printf '%-52s %-22s %-16s %s\n' "frames asked of the reader per new frame" "1 (by construction)" "1.0" "ok"
printf '%-52s %-22s %-16s %s\n' "decoder frames per shown frame, forward" "$(value "$FORWARD" decodes_per_shown)" \
  "1.0" "$(verdict "$(value "$FORWARD" decodes_per_shown) <= 1.02")"
printf '%-52s %-22s %-16s %s\n' "decoder frames per shown frame, backward" "$(value "$BACKWARD" decodes_per_shown)" \
  "" ""
printf '%-52s %-22s %-16s %s\n' "decode per frame backward (ms)" "$(value "$BACKWARD" decode_ms)" "<= 2" \
  "$(verdict "$(value "$BACKWARD" decode_ms) <= 2")"
printf '%-52s %-22s %-16s %s\n' "render step with a new frame, backward (ms)" "$(value "$BACKWARD" ms_per_new_frame)" \
  "<= 2" "$(verdict "$(value "$BACKWARD" ms_per_new_frame) <= 2")"
printf '%-52s %-22s %-16s %s\n' "render step with a new frame, forward (ms)" "$(value "$FORWARD" ms_per_new_frame)" "" ""
printf '%-52s %-22s %-16s %s\n' "program start to first cab frame (s)" "$(value "$FORWARD" first_frame_s)" "<= 1" \
  "$(verdict "$(value "$FORWARD" first_frame_s) <= 1")"
printf '%-52s %-22s %-16s %s\n' "peak memory, cab view forward (MB)" "$(value "$FORWARD" peak_rss_mb)" "<= 250" \
  "$(verdict "$(value "$FORWARD" peak_rss_mb) <= 250")"
printf '%-52s %-22s %-16s %s\n' "peak memory, ffplay (MB)" "$((FF_RSS / 1024))" "" ""
echo
echo "forward:  $FORWARD"
echo "paused:   $PAUSED"
echo "backward: $BACKWARD"
