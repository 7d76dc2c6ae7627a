#!/usr/bin/env bash
# Memory of the desktop program over a long drive, under an Xvfb of its own (a benchmark, not a
# test): the drive runs at the filming speed (Shift+F1) while random driver keys arrive every
# second or two; every 40 s Shift+F7 takes the train back towards the start of the line,
# so that it never stands at the end. The resident memory is sampled every 10 s; the verdict is
# its growth from the first minute to the end, against the target of less than 5 MB.
#
# usage: bench/soak/desktop_memory.sh [BUILD_DIR] [MINUTES] [SEED]
#   BUILD_DIR  a built tree (default build/release) with src/app/kestrel
#   MINUTES    length of the drive (default 30)
#   SEED       the random keys' seed (default: the time); printed, so that a run can be repeated
# The content is $KESTREL_DEMO_DIR, or the full demo made once into BUILD_DIR/demo-full. The
# samples go to $KESTREL_BENCH_WORK (default: a temporary folder, removed at the end).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:-$ROOT/build/release}" && pwd)
MINUTES=${2:-30}
SEED=${3:-$(date +%s)}
DESKTOP=$BUILD/src/app/kestrel
[ -x "$DESKTOP" ] || { echo "no $DESKTOP: build first" >&2; exit 1; }
source "$ROOT/bench/demo.sh"
KEEP_WORK=${KESTREL_BENCH_WORK:+1}
WORK=${KESTREL_BENCH_WORK:-$(mktemp -d)}
mkdir -p "$WORK"

exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
XVFB_PID=$!
read -r -u 3 DISPLAY_NUMBER
PROGRAM=
cleanup() {
  [ -n "$PROGRAM" ] && kill "$PROGRAM" 2>/dev/null || true
  kill "$XVFB_PID" 2>/dev/null || true
  [ -n "$KEEP_WORK" ] || rm -rf "$WORK"
}
trap cleanup EXIT
export DISPLAY=:$DISPLAY_NUMBER QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] && break; sleep 0.1; done

CAPTION=$(iconv -f CP932 -t UTF-8 "$DEMO/$LINE" | sed -n '/^\[LineName\]/{n;p;q}' | tr -d '\r')
mkdir -p "$WORK/config"
XDG_CONFIG_HOME=$WORK/config ALSOFT_DRIVERS=null \
  "$DESKTOP" --data "$DEMO" --line "$LINE" --train "$TRAIN" --trace "$WORK/trace.csv" \
  >"$WORK/kestrel.out" 2>"$WORK/kestrel.err" &
PROGRAM=$!
WID=$(xdotool search --sync --name "$CAPTION" | head -1)
sleep 1
xdotool windowfocus --sync "$WID"
xdotool key --window "$WID" f shift+F1

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$PROGRAM/status" 2>/dev/null || echo 0; }
alive() { kill -0 "$PROGRAM" 2>/dev/null && xdotool search --name "$CAPTION" >/dev/null 2>&1; }

# The driver's keys that keep a drive going: handles, horn, buzzer, ATS, call-outs, the value
# display; and the mouse wheel (buttons 4 and 5).
KEYS=(8 8 2 5 f 3 4 space r c 1 minus Return F3 9 t Page_Up Page_Down)
RANDOM=$SEED
echo "== $MINUTES min of drive, seed $SEED, samples in $WORK/rss.csv"
echo "seconds,rss_kb" >"$WORK/rss.csv"
start=$(date +%s)
end=$((start + MINUTES * 60))
next_sample=$start
next_back=$((start + 40))
while [ "$(date +%s)" -lt "$end" ]; do
  alive || { echo "the drive ended early (see $WORK/kestrel.err)" >&2; exit 1; }
  now=$(date +%s)
  if [ "$now" -ge "$next_sample" ]; then
    echo "$((now - start)),$(rss_kb)" >>"$WORK/rss.csv"
    next_sample=$((next_sample + 10))
  fi
  if [ "$now" -ge "$next_back" ]; then
    xdotool key --window "$WID" shift+F7 shift+F7 shift+F1
    next_back=$((next_back + 40))
  fi
  if ((RANDOM % 6 == 0)); then
    xdotool click --window "$WID" $((4 + RANDOM % 2))
  else
    xdotool key --window "$WID" "${KEYS[RANDOM % ${#KEYS[@]}]}"
  fi
  sleep "$((1 + RANDOM % 2)).$((RANDOM % 10))"
done
echo "$(( $(date +%s) - start )),$(rss_kb)" >>"$WORK/rss.csv"

FIRST=$(awk -F, 'NR > 1 && $1 >= 60 { print $2; exit }' "$WORK/rss.csv")
LAST=$(tail -1 "$WORK/rss.csv" | cut -d, -f2)
PEAK=$(awk -F, 'NR > 1 && $2 > m { m = $2 } END { print m }' "$WORK/rss.csv")
GROWTH=$((LAST - FIRST))
# The trace shows that the drive ran: its last drive time, and the frames it moved through.
DRIVEN=$(awk -F, 'NR > 1 { t = $1; if (NR > 2) moved += ($6 > f ? $6 - f : f - $6); f = $6 } END { printf "%d s, %d frames", t, moved }' \
  "$WORK/trace.csv")
verdict() { if awk "BEGIN { exit !($1) }"; then echo ok; else echo MISSED; fi; }
echo
printf '%-48s %-14s %-10s %s\n' "measure" "value" "target" "verdict"
printf '%-48s %-14s %-10s %s\n' "drive time and frames moved (trace)" "$DRIVEN" "" ""
printf '%-48s %-14s %-10s %s\n' "resident memory after the first minute (MB)" "$((FIRST / 1024))" "" ""
printf '%-48s %-14s %-10s %s\n' "resident memory at the end (MB)" "$((LAST / 1024))" "" ""
printf '%-48s %-14s %-10s %s\n' "peak resident memory (MB)" "$((PEAK / 1024))" "" ""
printf '%-48s %-14s %-10s %s\n' "growth from the first minute to the end (MB)" \
  "$(awk -v g="$GROWTH" 'BEGIN { printf "%.1f", g / 1024 }')" "< 5" "$(verdict "$GROWTH < 5 * 1024")"
