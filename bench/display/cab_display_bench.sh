#!/usr/bin/env bash
# The cab display's costs, measured as whole programs under an Xvfb of its own (not a test):
#
#   - CPU of the desktop program driving the demo line at the filming speed (Shift+F1) for the
#     run's length, against ffplay showing the same route movie at 800 x 600 for as long in the
#     same Xvfb (audio off); CPU of the desktop program while paused (the "Start" menu);
#   - the cab view alone (kestrel-cab-harness, the view on a drive that sets its own speed):
#     forward and backward at the filming speed, the display rate (render steps a second), the
#     share of the frames the train moved that were shown, decoder frames per shown frame, the
#     render step's own time per new frame and its longest step; jumps to the frame before each
#     keyframe (the worst a station jump or a restore can meet), the time until the frame shows,
#     unannounced and with the frames told to the reader in advance (as the desktop program tells
#     it the stations' stops and the saved places), with the time it took to have them ready;
#   - time from the train click to the first cab frame (the desktop program's own report);
#   - peak memory, and the most the movie's frame cache held.
#
# usage: bench/display/cab_display_bench.sh [BUILD_DIR] [SECONDS] [MOVIE]
#   BUILD_DIR  a configured and built tree with the tests (default build/release): its
#              src/app/kestrel, and tests/kestrel-cab-harness
#   SECONDS    length of each run (default 60)
#   MOVIE      the route movie of the drive (the demo line's is replaced by it): any movie file,
#              or "1080p" or "4k" for the demo's movie re-encoded as cameras write it (H.264, a
#              keyframe every 250 frames, B-frames), made once into BUILD_DIR/bench-movies (minutes
#              of encoding); default: the demo's own movie
# The content is $KESTREL_DEMO_DIR, or the full demo made once into BUILD_DIR/demo-full.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:-$ROOT/build/release}" && pwd)
SECONDS_EACH=${2:-60}
MOVIE_ARG=${3:-}
HARNESS=$BUILD/tests/kestrel-cab-harness
DESKTOP=$BUILD/src/app/kestrel
for p in "$HARNESS" "$DESKTOP"; do [ -x "$p" ] || { echo "no $p: build first" >&2; exit 1; }; done
source "$ROOT/bench/demo.sh"
WORK=${KESTREL_BENCH_WORK:-$(mktemp -d)}
START=100                                 # the frame the drives start from
BACK_START=$((START + 30 * SECONDS_EACH + 300))

# The movie: the demo's, a file, or the demo's re-encoded (its first frames, enough for the runs).
DEMO_MOVIE=$DEMO/movie/kestrel_line.avi
case "$MOVIE_ARG" in
  "") MOVIE=$DEMO_MOVIE ;;
  1080p | 4k)
    FRAMES=$((BACK_START + 400 > 2700 ? BACK_START + 400 : 2700))
    mkdir -p "$BUILD/bench-movies"
    MOVIE=$BUILD/bench-movies/h264-$MOVIE_ARG-$FRAMES.avi
    if [ ! -f "$MOVIE" ]; then
      if [ "$MOVIE_ARG" = 4k ]; then SIZE=3840:2160 PRESET=ultrafast; else SIZE=1920:1080 PRESET=veryfast; fi
      echo "== encoding $FRAMES frames of the demo's movie at $SIZE into $MOVIE"
      ffmpeg -nostdin -v error -y -i "$DEMO_MOVIE" -frames:v "$FRAMES" -vf "scale=$SIZE" -c:v libx264 \
        -preset "$PRESET" -crf 20 -pix_fmt yuv420p -g 250 -bf 3 -f avi "$MOVIE.part"
      mv "$MOVIE.part" "$MOVIE"
    fi
    ;;
  *) MOVIE=$(cd "$(dirname "$MOVIE_ARG")" && pwd)/$(basename "$MOVIE_ARG") ;;
esac
[ -f "$MOVIE" ] || { echo "no movie $MOVIE" >&2; exit 1; }
if [ "$MOVIE" != "$DEMO_MOVIE" ]; then
  # The demo's content with the line's movie replaced, linked rather than copied.
  CONTENT=$WORK/content
  cp -as "$DEMO" "$CONTENT"
  ln -sf "$MOVIE" "$CONTENT/movie/kestrel_line.avi"
else
  CONTENT=$DEMO
fi
echo "== movie: $(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width,height,nb_frames \
  -of csv=p=0 "$MOVIE") ($MOVIE)"

# The movie's keyframes, found by their packets, numbered by presentation time (decode time where
# there is none, as in AVI).
RATE=$(ffprobe -v error -select_streams v:0 -show_entries stream=r_frame_rate -of csv=p=0 "$MOVIE")
KEYS=$(ffprobe -v error -select_streams v:0 -show_entries packet=pts_time,dts_time,flags -of csv=p=0 "$MOVIE" |
  awk -F, -v rate="$RATE" '
    BEGIN { split(rate, r, "/"); fps = r[1] / r[2] }
    $3 ~ /K/ { t = ($1 != "N/A" ? $1 : $2); if (first == "") first = t; print int((t - first) * fps + 0.5) }' | sort -n)
# The frames before the keyframes (not the first), up to eight, within the drive's reach: a jump
# there decodes the whole group of pictures before it.
JUMPS=$(awk -v limit="$BACK_START" '$1 > 0 && $1 <= limit && count < 8 { printf "%s%d", (count ? "," : ""), $1 - 1; count++ }' <<<"$KEYS")
# The backward drive sets off halfway through a group of pictures: the steady drive is measured
# from its first frame on, and a start on a keyframe would put the decoding of the whole group
# before it (a second's worth at 1080p, once per drive) into the first steps after that frame.
BACK_START=$(awk -v at="$BACK_START" '$1 <= at { from = $1 } $1 > at && !to { to = $1 }
  END { print (to ? int((from + to) / 2) : at) }' <<<"$KEYS")

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

harness() {  # name, seconds, arguments...
  local name=$1 seconds=$2; shift 2
  /usr/bin/time -f "time cpu_process_s=%U+%S rss_kb=%M" -o "$WORK/$name.time" \
    "$HARNESS" --data "$CONTENT" --line "$LINE" --train "$TRAIN" --seconds "$seconds" "$@" \
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
    "$DESKTOP" --data "$CONTENT" --line "$LINE" --train "$TRAIN" --trace "$WORK/$name.csv" \
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
CAB_CAPTION=$(iconv -f CP932 -t UTF-8 "$CONTENT/$LINE" | sed -n '/^\[LineName\]/{n;p;q}' | tr -d '\r')

echo "== load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
echo "== desktop program at the filming speed, ${SECONDS_EACH} s"
desktop desktop-filming filming
echo "== desktop program paused, ${SECONDS_EACH} s"
desktop desktop-paused paused
echo "== cab view (harness) forward at the filming speed, ${SECONDS_EACH} s"
FORWARD=$(harness forward "$SECONDS_EACH" --drive forward --start-frame "$START")
echo "== cab view (harness) paused, ${SECONDS_EACH} s"
PAUSED=$(harness paused "$SECONDS_EACH" --drive paused --start-frame "$START")
echo "== cab view (harness) backward at the filming speed, ${SECONDS_EACH} s"
BACKWARD=$(harness backward "$SECONDS_EACH" --drive backward --start-frame "$BACK_START")
JUMP="" READY=""
if [ -n "$JUMPS" ]; then
  echo "== cab view (harness) jumps to the frames before keyframes: $JUMPS"
  JUMP=$(harness jump 30 --drive jump --jump-frames "$JUMPS" --start-frame "$START")
  echo "== cab view (harness) the same jumps, the frames kept ready"
  READY=$(harness ready 40 --drive jump --jump-frames "$JUMPS" --start-frame "$START" --keep-ready)
fi
echo "== ffplay, the same movie at 800 x 600, ${SECONDS_EACH} s"
/usr/bin/time -f "%U %S %M" -o "$WORK/ffplay.time" \
  ffplay -v error -an -x 800 -y 600 -t "$SECONDS_EACH" -autoexit "$MOVIE" >/dev/null 2>&1
echo "== load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
# time's last line holds the figures (a line before it may say how the program ended).
read -r FF_USER FF_SYS FF_RSS < <(tail -1 "$WORK/ffplay.time")
read -r DF_USER DF_SYS DF_RSS < <(tail -1 "$WORK/desktop-filming.time")
FIRST_MS=$(sed -n 's/.*first frame of the cab window \([0-9]*\) ms.*/\1/p' "$WORK/desktop-filming.err" | head -1)
FRAMES_MOVED=$(awk -F, 'NR == 2 { first = $6 } END { print $6 - first }' "$WORK/desktop-filming.csv")

process_cpu() { awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^cpu_process_s=/) { split(substr($i, 15), a, "+"); print a[1] + a[2] } }' "$WORK/$1.time"; }
sum() { awk -v a="$1" -v b="$2" 'BEGIN { print a + b }'; }
FF_CPU=$(sum "$FF_USER" "$FF_SYS")
DF_CPU=$(sum "$DF_USER" "$DF_SYS")
HV_CPU=$(process_cpu forward)
RATIO=$(awk -v a="$DF_CPU" -v b="$FF_CPU" 'BEGIN { printf "%.2f", a / b }')
HV_RATIO=$(awk -v a="$HV_CPU" -v b="$FF_CPU" 'BEGIN { printf "%.2f", a / b }')
PAUSE_SHARE=$(cat "$WORK/desktop-paused.share")

# The demo's own movie keeps its targets; footage as cameras write it has those of its own.
if [ "$MOVIE" = "$DEMO_MOVIE" ]; then CPU_TARGET=2.0 NEW_FRAME_TARGET=2; else CPU_TARGET=1.0 NEW_FRAME_TARGET=8; fi

verdict() { if awk "BEGIN { exit !($1) }"; then echo ok; else echo MISSED; fi; }
row() { printf '%-58s %-28s %-10s %s\n' "$1" "${2:-}" "${3:-}" "${4:-}"; }
check() {  # measure, value, target text, condition on value with v
  local v=$2
  if [ -z "$v" ]; then row "$1" "-" "$3" "no figure"; return; fi
  row "$1" "$v" "$3" "$(verdict "$(sed "s/v/$v/g" <<<"$4")")"
}
echo
row "measure" "value" "target" "verdict"
row "CPU, desktop program at the filming speed / ffplay" "$DF_CPU s / $FF_CPU s = $RATIO" "<= $CPU_TARGET" \
  "$(verdict "$RATIO <= $CPU_TARGET")"
row "  frames the desktop drive moved; CPU share while driving" "$FRAMES_MOVED; $(cat "$WORK/desktop-filming.share")"
row "CPU, cab view alone (harness) / ffplay" "$HV_CPU s / $FF_CPU s = $HV_RATIO"
check "CPU, desktop program paused (share of a core)" "$PAUSE_SHARE" "<= 0.01" "v <= 0.01"
check "CPU, cab view paused alone (share of a core)" "$(value "$PAUSED" cpu_share)" "<= 0.01" "v <= 0.01"
for dir in forward backward; do
  line=$FORWARD
  [ $dir = backward ] && line=$BACKWARD
  check "display rate, $dir at the filming speed (steps/s)" "$(value "$line" step_hz)" ">= 57" "v >= 57"
  check "  moved frames shown, $dir (share)" "$(value "$line" shown_share)" ">= 0.98" "v >= 0.98"
  row "  ... of them the exact frame; stand-ins, pending steps" \
    "$(value "$line" exact_share); $(value "$line" stand_ins), $(value "$line" pending_steps)"
  if [ $dir = forward ]; then
    check "  decoder frames per shown frame, forward" "$(value "$line" decodes_per_shown)" "1.0" "v <= 1.05"
  else
    check "  decoder frames per shown frame, backward" "$(value "$line" decodes_per_shown)" "<= 1.5" "v <= 1.5"
  fi
  check "  render step with a new frame, $dir (ms wall)" "$(value "$line" ms_per_new_frame)" \
    "<= $NEW_FRAME_TARGET" "v <= $NEW_FRAME_TARGET"
  row "  ... its CPU (ms); reader's share of it (ms); longest step (ms)" \
    "$(value "$line" cpu_ms_per_new_frame); $(value "$line" request_ms); $(value "$line" max_step_ms)"
done
if [ -n "$JUMP" ]; then
  check "jump to the frame before a keyframe, slowest (ms)" "$(value "$JUMP" jump_ms_max)" "<= 300" "v <= 300"
  row "  ... mean (ms) over $(value "$JUMP" jumps) jumps" "$(value "$JUMP" jump_ms_mean)"
  check "  longest render step meanwhile (ms)" "$(value "$JUMP" max_step_ms)" "<= 33" "v <= 33"
  check "the same jumps, the frames kept ready, slowest (ms)" "$(value "$READY" jump_ms_max)" "<= 300" "v <= 300"
  row "  ... mean (ms); time to have them all ready (s)" "$(value "$READY" jump_ms_mean); $(value "$READY" ready_s)"
  row "  ... peak memory meanwhile (MB)" "$(value "$READY" peak_rss_mb)"
fi
check "train click to the first cab frame (ms)" "${FIRST_MS:-}" "<= 1000" "v <= 1000"
row "peak memory, desktop program driving forward (MB)" "$((DF_RSS / 1024))" "<= 250" "$(verdict "$DF_RSS / 1024 <= 250")"
row "peak memory, cab view backward (MB); its frame cache (MB)" \
  "$(value "$BACKWARD" peak_rss_mb); $(value "$BACKWARD" cache_peak_mb)" "cache <= 300" \
  "$(verdict "$(value "$BACKWARD" cache_peak_mb) <= 300")"
row "peak memory, ffplay (MB)" "$((FF_RSS / 1024))"
echo
echo "harness forward:  $FORWARD"
echo "harness paused:   $PAUSED"
echo "harness backward: $BACKWARD"
[ -n "$JUMP" ] && echo "harness jump:     $JUMP"
[ -n "$JUMP" ] && echo "harness ready:    $READY"
exit 0
