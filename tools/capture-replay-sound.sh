#!/usr/bin/env bash
# Captures what the real game plays while a replay is watched, through SDL's
# disk audio driver (raw stereo float at 44.1 kHz), then prints the levels
# with tools/sound-stats.py: first of the title music alone, then of the
# replayed stage.
#
#   tools/capture-replay-sound.sh GAME GAME_DIR REPLAY OUT_DIR [fast]
#
# GAME is the built binary (build/velmora), GAME_DIR the built data
# (build/game), REPLAY a .vmr file whose first stage is played. Both volumes
# are set to 100. With "fast" Left Ctrl is held for the whole stage, so the
# replay runs fast-forwarded. OUT_DIR receives audio.raw and stats.txt.
# With STAGE_SECONDS=N in the environment only the first N seconds of the
# stage are captured, then the game is closed; with MUTE_EFFECTS=1 the
# effect volume is 0, so that only the music reaches the capture.
# Runs in its own X server, like the end-to-end tests whose helpers it uses.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tests/e2e/common.sh"
GAME_DIR=$(realpath "$2")
REPLAY=$(realpath "$3")
OUT_DIR=$(realpath -m "$4")
FAST=${5:-}
[ -d "$GAME_DIR/Graphics" ] || fail "no built game data in $GAME_DIR"
[ -f "$REPLAY" ] || fail "no replay file $REPLAY"
mkdir -p "$OUT_DIR" || fail "cannot make $OUT_DIR"

for d in "$GAME_DIR"/*/; do ln -s "${d%/}" "$E2E_WORK/"; done
cd "$E2E_WORK" || fail "no scratch directory"
mkdir -p replay && cp "$REPLAY" replay/ || fail "cannot copy the replay"
if [ "${MUTE_EFFECTS:-0}" = 1 ]; then
  printf 'd\000\000\000\000\000\000\000' >setting.dat # music 100, effects 0
else
  printf 'd\000\000\000d\000\000\000' >setting.dat # music 100, effects 100
fi
AUDIO=$E2E_WORK/audio.raw
SHOT=$E2E_WORK/shot.png
BYTES_PER_SECOND=$((44100 * 8))

(exec env "${E2E_LOCALE_ENV[@]}" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$AUDIO" "$E2E_GAME" >game.log 2>&1) &
E2E_PID=$!
# The capture is faithful only while the game keeps its 60 frames a second,
# so it goes before builds sharing the machine (where allowed).
renice -n -10 -p "$E2E_PID" >/dev/null 2>&1

audio_seconds() { echo "scale=2; $(stat -c %s "$AUDIO" 2>/dev/null || echo 0) / $BYTES_PER_SECOND" | bc; }
audio_past() { [ "$(stat -c %s "$AUDIO" 2>/dev/null || echo 0)" -ge "$1" ]; }
snap() { import -window "$WIN" "$SHOT" 2>/dev/null; }
# Mean brightness (0..255) of a rectangle W H X Y of the window.
brightness() {
  snap && convert "$SHOT" -crop "$1x$2+$3+$4" +repage -format '%[fx:int(255*mean+.5)]' info:
}
# The title's sunrise on the horizon is lit.
title_lit() { [ "$(brightness 20 20 510 315)" -ge 150 ]; }
# The picture holds still for half a second and is not black: a menu
# screen after its fade-in. Leaves the picture in b.png.
settled() {
  import -window "$WIN" a.png 2>/dev/null && sleep 0.5 && import -window "$WIN" b.png 2>/dev/null &&
    [ "$(compare -metric AE a.png b.png null: 2>&1)" = 0 ] &&
    [ "$(convert b.png -format '%[fx:int(255*mean)]' info:)" -gt 10 ]
}
same_as() { snap && [ "$(compare -metric AE -fuzz 5% "$SHOT" "$1" null: 2>&1)" -lt 2000 ]; }
not_list() { ! same_as list.png; }
tap() {
  press "$WIN" "$1"
  sleep 0.3
}

wait_until 15 window_shown 'スクリーン設定' || fail "no screen-mode question appeared"
# "No" (a window), pressed again while a busy machine lets it go unseen.
answer_no() {
  window_shown '^Velmora' && return 0
  press "$(find_window 'スクリーン設定')" Escape
  sleep 2
  window_shown '^Velmora'
}
wait_until 60 answer_no || fail "no game window"
WIN=$(find_window '^Velmora')
wait_until 20 title_lit || fail "the title never lit up"

# Some six seconds of the title music alone, before any key makes a sound.
title_from=$(audio_seconds)
wait_until 30 audio_past $(((${title_from%.*} + 7) * BYTES_PER_SECOND)) || fail "no sound output"
title_to=$(audio_seconds)

tap Down
tap z
wait_until 20 settled || fail "the replay list never settled"
cp b.png list.png
tap z # the file
tap z # its first stage
stage_from=$(audio_seconds)
if [ "$FAST" = fast ]; then
  xdotool windowfocus "$WIN" 2>/dev/null
  xdotool keydown Control_L
fi
# The stage replaces the list, and watching ends back at it.
wait_until 20 not_list || fail "the stage never started"
if [ -n "${STAGE_SECONDS:-}" ]; then
  wait_until 120 audio_past $(((${stage_from%.*} + STAGE_SECONDS + 1) * BYTES_PER_SECOND)) ||
    fail "the stage's sound stopped"
else
  wait_until 1800 same_as list.png || fail "the replay never came back to the list"
fi
stage_to=$(audio_seconds)
[ "$FAST" = fast ] && xdotool keyup Control_L
close_window "$WIN"
wait_exit 20 || fail "the game did not end"

cp "$AUDIO" "$OUT_DIR/audio.raw"
{
  echo "title music alone: $title_from s to $title_to s"
  python3 "$ROOT/tools/sound-stats.py" "$AUDIO" --from "$title_from" --to "$title_to"
  echo
  echo "stage${FAST:+ (fast-forwarded)}: $stage_from s to $stage_to s"
  python3 "$ROOT/tools/sound-stats.py" "$AUDIO" --from "$stage_from" --to "$stage_to"
} | tee "$OUT_DIR/stats.txt"
