#!/usr/bin/env bash
# The title as a new player meets it, with the real game data: the start-up
# question, the title fading in with its turning logo, the version line and
# the menu, the title music reaching the sound output, the menu keys, the
# difficulty menu and back, and "Exit" fading out to a normal end with a
# fresh 3944-byte "score.dat". A second run with Extra unlocked in
# "score.dat" finds the Extra row and backs out of it to the title.
# Arguments: the game binary, the built game directory.
source "$(dirname "$0")/common.sh"
GAME_DIR=$(realpath "$2")
[ -d "$GAME_DIR/Graphics" ] || fail "no built game data in $GAME_DIR"
# The data only: the files the game writes stay in the scratch directory.
for d in "$GAME_DIR"/*/; do ln -s "${d%/}" "$E2E_WORK/"; done
cd "$E2E_WORK" || fail "no scratch directory"

# The sound goes to a file instead of a device, so what the mixer plays can
# be read back.
start_game_with_sound() {
  (exec env "${E2E_LOCALE_ENV[@]}" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_WORK/audio.raw" "$E2E_GAME" \
    >"$E2E_WORK/game.log" 2>&1) &
  E2E_PID=$!
}
E2E_START=start_game_with_sound
# Selection menus: a heading row, then 25-pixel rows from y 333, x 228..412.
select_cursor() { white_rows 184 15 228 337 25 4; }
# The charge-type menu: its two rows sit lower, from y 393.
charge_cursor() { white_rows 184 15 228 397 25 2; }
# The turning rings: a part of the title that changes on every frame.
region_differs() {
  convert "$1" -crop "$3" +repage a.png && convert "$2" -crop "$3" +repage b.png &&
    [ "$(compare -metric AE a.png b.png null: 2>&1)" != "0" ]
}
rings_moved_from() { snap ring_now.png && region_differs "$1" ring_now.png 204x202+187+35; }
# title_frames_pass: waits until the title has drawn two more frames, so the
# game has read the keyboard at least once since this was called.
title_frames_pass() {
  snap ring_then.png || return 1
  wait_until "$E2E_WAIT" rings_moved_from ring_then.png || return 1
  cp ring_now.png ring_then.png
  wait_until "$E2E_WAIT" rings_moved_from ring_then.png
}

# --- first run: a new player, no files yet -----------------------------------
rm -f score.dat
start_game_with_sound
answer_screen_question
wait_until "$E2E_START_WAIT" title_lit || fail "the title never lit up"

# The version line: white lettering centred at the bottom, where the title
# picture itself has none; it is pure white once the fade-in is over.
white_in() {
  convert "$1" -crop 440x26+100+450 +repage -fx 'r>0.9&&g>0.9&&b>0.9' -format '%[fx:int(mean*w*h)]' info:
}
[ "$(white_in "$GAME_DIR/Graphics/title.png")" -lt 10 ] || fail "title.png itself is white at the bottom"
version_line_shown() { snap title1.png && [ "$(white_in title1.png)" -ge 150 ]; }
wait_until "$E2E_WAIT" version_line_shown ||
  fail "no version line at the bottom: $(white_in title1.png) white pixels"
[ -n "${E2E_SHOT:-}" ] && cp title1.png "$E2E_SHOT"
wait_until "$E2E_WAIT" cursor_is title_cursor 0 || fail "cursor not on Start at first: rows '$(title_cursor)'"

# The rings turn while the menu and the rest of the picture stand still.
rings_turned() {
  snap title2.png && region_differs title1.png title2.png 92x92+363+99 &&
    region_differs title1.png title2.png 204x202+187+35
}
wait_until "$E2E_WAIT" rings_turned || fail "the rings did not turn"
! region_differs title1.png title2.png 100x126+270+280 || fail "the menu changed by itself"
! region_differs title1.png title2.png 200x60+0+380 || fail "the picture's lower left changed by itself"

# The title music reaches the sound output before any key makes a sound.
music_playing() {
  [ -s audio.raw ] && [ "$(tail -c 400000 audio.raw | tr -d '\000' | wc -c)" -ge 100000 ]
}
wait_until "$E2E_WAIT" music_playing ||
  fail "the sound output is silent: $(tail -c 400000 audio.raw 2>/dev/null | tr -d '\000' | wc -c)" \
    "non-zero bytes of the last 400000"

# Up wraps to Exit, Down back to Start, Down to Replay; Cancel points at Exit
# and, pressed again, stays there while the game goes on.
key Up title_cursor 4 || fail "Up from Start: rows '$(title_cursor)'"
key Down title_cursor 0 || fail "Down from Exit: rows '$(title_cursor)'"
key Down title_cursor 1 || fail "Down from Start: rows '$(title_cursor)'"
key x title_cursor 4 || fail "Cancel did not point at Exit: rows '$(title_cursor)'"
hold_until "$WIN" x title_frames_pass || fail "the title stopped drawing after a second Cancel"
game_running || fail "Cancel ended the game"
cursor_is title_cursor 4 || fail "a second Cancel moved the cursor: rows '$(title_cursor)'"

# Start: the difficulty menu without Extra (Up from Easy lands on Apocrypha);
# Cancel comes back to a title with the cursor on Start.
key Down title_cursor 0 || fail "Down from Exit: rows '$(title_cursor)'"
key z select_cursor 0 || fail "no difficulty menu on Easy: rows '$(select_cursor)'"
cp "$SHOT" difficulty.png
key Up select_cursor 2 || fail "Up from Easy: rows '$(select_cursor)'"
hold_until "$WIN" x title_lit || fail "Cancel did not bring the title back"
wait_until "$E2E_WAIT" cursor_is title_cursor 0 || fail "new title not on Start: rows '$(title_cursor)'"

# Exit: the screen fades to black, then the program ends normally. The fade
# lasts a quarter of a second, less than one screenshot takes on a busy
# machine, so the game runs in slices of a few frames and is stopped for
# each look (a stopped game's window keeps its last picture).
key Up title_cursor 4 || fail "Up from Start: rows '$(title_cursor)'"
mean_of() { convert "$1" -format '%[fx:int(255*mean+.5)]' info:; }
bright=$(mean_of "$SHOT")
dimmer_after_a_slice() {
  kill -CONT "$E2E_PID" 2>/dev/null
  sleep 0.02  # the slice: a frame or a few
  kill -STOP "$E2E_PID" 2>/dev/null || return 1
  snap fading.png && [ "$(mean_of fading.png)" -lt "$bright" ]
}
hold_until "$WIN" z dimmer_after_a_slice
faded=$?
kill -CONT "$E2E_PID" 2>/dev/null
[ "$faded" -eq 0 ] || fail "no fade-out after Exit (mean $bright before, $(mean_of fading.png 2>&1) after)"
wait_exit "$E2E_WAIT" || fail "the game did not end after Exit"
[ "$E2E_RC" = "0" ] || fail "exit code $E2E_RC after Exit"
[ -f score.dat ] || fail "no score.dat after the first run"
[ "$(stat -c %s score.dat)" = "3944" ] || fail "score.dat is $(stat -c %s score.dat) bytes"
[ "$(tr -d '\000' <score.dat | wc -c)" = "0" ] || fail "a fresh score.dat is not all zero"

# --- second run: Extra unlocked in score.dat ---------------------------------
printf '\001' | dd of=score.dat bs=1 seek=3940 conv=notrunc status=none
cp score.dat score.before
start_game_with_sound
answer_screen_question
wait_until "$E2E_START_WAIT" title_lit || fail "the title never lit up (second run)"
wait_until "$E2E_WAIT" cursor_is title_cursor 0 || fail "cursor not on Start: rows '$(title_cursor)'"
key z select_cursor 0 || fail "no difficulty menu: rows '$(select_cursor)'"
key Up select_cursor 3 || fail "Up from Easy did not reach Extra: rows '$(select_cursor)'"
cp "$SHOT" difficulty_extra.png
key z charge_cursor 0 || fail "no charge-type menu: rows '$(charge_cursor)'"
cp "$SHOT" chargetype.png
key Right charge_cursor 1 || fail "Right did not move to Laser: rows '$(charge_cursor)'"
# Backing out of the Extra stage goes straight home.
hold_until "$WIN" x title_lit || fail "Cancel in the Extra charge-type menu did not reach the title"
wait_until "$E2E_WAIT" cursor_is title_cursor 0 || fail "new title not on Start: rows '$(title_cursor)'"
key Up title_cursor 4 || fail "Up from Start: rows '$(title_cursor)'"
hold_until "$WIN" z game_ended || fail "the game did not end after Exit (second run)"
wait_exit "$E2E_WAIT" || fail "the game did not end after Exit (second run)"
[ "$E2E_RC" = "0" ] || fail "exit code $E2E_RC after Exit (second run)"
cmp -s score.dat score.before || fail "score.dat changed without a game"
echo "PASS"
