#!/usr/bin/env bash
# The busiest moment of play, for real: the game under a private X server
# with a scratch copy of the built data whose stage 1 holds four emitters
# turning 24-bullet rings every 7 frames (the 500-bullet pool stays full).
# Z through title, Start, Easy, Shield, the cut-scene and the opening talk,
# hold Z (shots), then bomb with C. Prints the game's processor use per
# second (from /proc/<pid>/stat) and the busiest second, and keeps
# screenshots (the FPS read-out is at the top left) in the work folder.
# With PERF=1, records `perf record -g` of the game over the busy seconds.
# Usage: bench/stress_stage.sh GAME_BINARY BUILT_GAME_DIR [SECONDS]
#        (VELMORA_RENDERER=gl|software passes through to the game)
set -u
if [ -z "${STRESS_DISPLAY_READY:-}" ]; then
  export STRESS_DISPLAY_READY=1
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$0" "$@"
fi
GAME=$(realpath "$1")
DATA=$(realpath "$2")
BUSY=${3:-12}
WORK=$(mktemp -d /tmp/velmora-stress-XXXXXX)
cp -r "$DATA"/. "$WORK"/
echo "work folder: $WORK"

# The emitter: sits where it is spawned and cannot be shot down.
cat >"$WORK/Data/EnemyDB/enemy20.csv" <<'EOF'
stress emitter: sits still and turns rings of orbs every 7 frames
graphic,hit points,radius,power,point,life,bomb
9,100000000,20,0,0,0,0
0,1,108,4,0,0
0,1,104,1.4,0,0
0,1,106,15d,0,0
0,1,100,90d,0,0
20,1,112,24,1,0
20,1,101,7d,0,0
26,1,7,0,19,0
EOF
# Stage 1: its title card and opening talk, then only the emitters.
{
  head -n 6 "$DATA/Data/Stage/stage1.csv"
  for x in 64 160 224 320; do echo "200,1,0,$x,80,20"; done
} >"$WORK/Data/Stage/stage1.csv"

window_titled() {
  xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | head -n 1 | awk '{print $1}'
}
wait_for() {
  local deadline=$((SECONDS + $1)) id
  while :; do
    id=$(window_titled "$2")
    [ -n "$id" ] && { echo "$id"; return 0; }
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}
tap() {
  xdotool windowfocus "$WIN" 2>/dev/null
  xdotool keydown "$1"
  sleep 0.08
  xdotool keyup "$1"
  sleep "${2:-0.6}"
}
shot() { import -window "$WIN" "$WORK/$1.png" 2>/dev/null; }
ticks() { awk '{print $14 + $15}' "/proc/$PID/stat"; }

# A busy machine sometimes loses the answer to the question: try again.
for attempt in 1 2 3; do
  (cd "$WORK" && exec env LC_ALL= LC_MESSAGES= LANG=ja_JP.UTF-8 SDL_AUDIODRIVER=dummy "$GAME" >"$WORK/game.log" 2>&1) &
  PID=$!
  BOX=$(wait_for 120 'スクリーン設定') || { echo "no screen-mode question"; exit 1; }
  sleep 1
  xdotool windowfocus "$BOX"
  sleep 0.2
  xdotool key Escape # "No": a window
  WIN=$(wait_for 30 'Velmora 体験版') && break
  kill "$PID" 2>/dev/null
  wait "$PID" 2>/dev/null
done
[ -n "$WIN" ] || { echo "no game window"; exit 1; }
sleep 2
tap z 1.5 # Start
tap z 1.5 # Easy
tap z 1.5 # Shield
for i in $(seq 1 "${TALK_TAPS:-30}"); do tap z 0.3; done # cut-scene and talk
shot stage
xdotool windowfocus "$WIN"
xdotool keydown z # shots from here on
HZ=$(getconf CLK_TCK)
PERCENT=()
if [ -n "${PERF:-}" ]; then
  perf record -g -o "$WORK/perf.data" -p "$PID" -- sleep "$BUSY" >/dev/null 2>&1 &
  PERF_PID=$!
fi
for s in $(seq 1 "$BUSY"); do
  before=$(ticks)
  sleep 1
  after=$(ticks)
  PERCENT+=($(((after - before) * 100 / HZ)))
  case $s in
    4) shot full ;;
    6) xdotool keydown c; sleep 0.08; xdotool keyup c ;;
    7) shot bomb1 ;;
    8) shot bomb2 ;;
  esac
done
xdotool keyup z
[ -n "${PERF:-}" ] && wait "$PERF_PID"
echo "processor use per second (%): ${PERCENT[*]}"
printf '%s\n' "${PERCENT[@]}" | sort -n | tail -n 1 | sed 's/^/busiest second (%): /'
for f in stage full bomb1 bomb2; do
  convert "$WORK/$f.png" -crop 110x14+0+0 +repage -scale 400% "$WORK/$f-fps.png" 2>/dev/null
done
kill "$PID" 2>/dev/null
wait "$PID" 2>/dev/null
echo "screenshots: $WORK/{stage,full,bomb1,bomb2}.png (FPS crops: *-fps.png)"
