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
SHOT="$E2E_WORK/shot.png"

# The sound goes to a file instead of a device, so what the mixer plays can
# be read back.
start_game_with_sound() {
  (exec env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_WORK/audio.raw" "$E2E_GAME" \
    >"$E2E_WORK/game.log" 2>&1) &
  E2E_PID=$!
}
snap() { import -window "$WIN" "${1:-$SHOT}" 2>/dev/null; }
# Brightest red (0..255) in a rectangle W H X Y of a screenshot.
max_red() {
  convert "$1" -crop "$2x$3+$4+$5" +repage -format '%[fx:int(255*maxima.r+.5)]' info:
}
# Brightest red of COUNT bands W x H at X, Y0 + STEP i, in one pass:
# "r0 r1 ...".
band_reds() {
  local file=$1 w=$2 h=$3 x=$4 y0=$5 step=$6 count=$7 i args=()
  for ((i = 0; i < count; i++)); do
    args+=("(" -clone 0 -crop "${w}x${h}+${x}+$((y0 + step * i))" +repage ")")
  done
  convert "$file" "${args[@]}" -delete 0 -format '%[fx:int(255*maxima.r+.5)] ' info:
}
# The rows whose band holds white letters: the row under the cursor.
white_rows() {
  snap || return 1
  local i=0 red hits=""
  for red in $(band_reds "$SHOT" "$@"); do
    [ "$red" -ge 230 ] && hits="$hits$i"
    i=$((i + 1))
  done
  echo "$hits"
}
# The title menu: row i's text starts at y 288 + 22 i inside the box from
# x 270 to 370, and reaches into the next row's; a band across the upper
# part of each row's letters is its own.
title_cursor() { white_rows 84 9 278 297 22 5; }
# Selection menus: a heading row, then 25-pixel rows from y 333, x 228..412.
select_cursor() { white_rows 184 15 228 337 25 4; }
# The charge-type menu: its two rows sit lower, from y 393.
charge_cursor() { white_rows 184 15 228 397 25 2; }
cursor_is() { [ "$("$1")" = "$2" ]; }
tap() {
  press "$WIN" "$1"
  sleep 0.3
}
# The title is lit: the sunrise on its horizon is bright.
title_lit() { snap && [ "$(max_red "$SHOT" 20 20 510 315)" -ge 200 ]; }
answer_no_and_wait_for_window() {
  wait_until 15 window_shown 'スクリーン設定' || fail "no screen-mode question appeared"
  press "$(find_window 'スクリーン設定')" Escape
  wait_until 30 window_shown '^Velmora' ||
    fail "no game window after answering; top-level windows: $(xwininfo -root -children | grep '"')"
  WIN=$(find_window '^Velmora')
  [ "$(window_size "$WIN")" = "640x480" ] || fail "game window is $(window_size "$WIN")"
}

# --- first run: a new player, no files yet -----------------------------------
rm -f score.dat
start_game_with_sound
answer_no_and_wait_for_window
wait_until 20 title_lit || fail "the title never lit up"
sleep 0.5  # the rest of the fade-in
snap title1.png || fail "no screenshot"
[ -n "${E2E_SHOT:-}" ] && cp "$SHOT" "$E2E_SHOT"
wait_until 10 cursor_is title_cursor 0 || fail "cursor not on Start at first: rows '$(title_cursor)'"

# The rings turn: a second later the ring areas differ, the menu does not.
sleep 1
snap title2.png || fail "no second screenshot"
region_differs() {
  convert title1.png -crop "$1" +repage a.png && convert title2.png -crop "$1" +repage b.png &&
    [ "$(compare -metric AE a.png b.png null: 2>&1)" != "0" ]
}
region_differs 92x92+363+99 || fail "the small ring did not turn"
region_differs 204x202+187+35 || fail "the large ring did not turn"
! region_differs 100x126+270+280 || fail "the menu changed by itself"
! region_differs 200x60+0+380 || fail "the picture's lower left changed by itself"

# The version line: white lettering centred at the bottom, where the title
# picture itself has none.
white_in() {
  convert "$1" -crop 440x26+100+450 +repage -fx 'r>0.9&&g>0.9&&b>0.9' -format '%[fx:int(mean*w*h)]' info:
}
[ "$(white_in "$GAME_DIR/Graphics/title.png")" -lt 10 ] || fail "title.png itself is white at the bottom"
[ "$(white_in title1.png)" -ge 150 ] || fail "no version line at the bottom: $(white_in title1.png) white pixels"

# The title music reaches the sound output before any key makes a sound.
sleep 1
[ -s audio.raw ] || fail "no sound output at all"
loud=$(tail -c 400000 audio.raw | tr -d '\000' | wc -c)
[ "$loud" -ge 100000 ] || fail "the sound output is silent ($loud non-zero bytes of the last 400000)"

# Up wraps to Exit, Down back to Start, Down to Replay; Cancel points at Exit
# and, pressed again, stays there while the game goes on.
tap Up
wait_until 8 cursor_is title_cursor 4 || fail "Up from Start: rows '$(title_cursor)'"
tap Down
wait_until 8 cursor_is title_cursor 0 || fail "Down from Exit: rows '$(title_cursor)'"
tap Down
wait_until 8 cursor_is title_cursor 1 || fail "Down from Start: rows '$(title_cursor)'"
tap x
wait_until 8 cursor_is title_cursor 4 || fail "Cancel did not point at Exit: rows '$(title_cursor)'"
tap x
sleep 0.5
game_running || fail "Cancel ended the game"
cursor_is title_cursor 4 || fail "a second Cancel moved the cursor: rows '$(title_cursor)'"

# Start: the difficulty menu without Extra (Up from Easy lands on Apocrypha);
# Cancel comes back to a title with the cursor on Start.
tap Down
wait_until 8 cursor_is title_cursor 0 || fail "Down from Exit: rows '$(title_cursor)'"
tap z
wait_until 10 cursor_is select_cursor 0 || fail "no difficulty menu on Easy: rows '$(select_cursor)'"
cp "$SHOT" difficulty.png
tap Up
wait_until 8 cursor_is select_cursor 2 || fail "Up from Easy: rows '$(select_cursor)'"
tap x
wait_until 10 title_lit || fail "Cancel did not bring the title back"
wait_until 8 cursor_is title_cursor 0 || fail "new title not on Start: rows '$(title_cursor)'"

# Exit: the screen fades to black, then the program ends normally.
tap Up
wait_until 8 cursor_is title_cursor 4 || fail "Up from Start: rows '$(title_cursor)'"
bright=$(convert "$SHOT" -format '%[fx:int(255*mean+.5)]' info:)
press "$WIN" z
snap fading.png || fail "the window was gone at once after Exit"
dim=$(convert fading.png -format '%[fx:int(255*mean+.5)]' info:)
[ "$dim" -lt "$bright" ] || fail "no fade-out after Exit (mean $bright before, $dim after)"
wait_exit 10 || fail "the game did not end after Exit"
[ "$E2E_RC" = "0" ] || fail "exit code $E2E_RC after Exit"
[ -f score.dat ] || fail "no score.dat after the first run"
[ "$(stat -c %s score.dat)" = "3944" ] || fail "score.dat is $(stat -c %s score.dat) bytes"
[ "$(tr -d '\000' <score.dat | wc -c)" = "0" ] || fail "a fresh score.dat is not all zero"

# --- second run: Extra unlocked in score.dat ---------------------------------
printf '\001' | dd of=score.dat bs=1 seek=3940 conv=notrunc status=none
cp score.dat score.before
start_game_with_sound
answer_no_and_wait_for_window
wait_until 20 title_lit || fail "the title never lit up (second run)"
wait_until 10 cursor_is title_cursor 0 || fail "cursor not on Start: rows '$(title_cursor)'"
tap z
wait_until 10 cursor_is select_cursor 0 || fail "no difficulty menu: rows '$(select_cursor)'"
tap Up
wait_until 8 cursor_is select_cursor 3 || fail "Up from Easy did not reach Extra: rows '$(select_cursor)'"
cp "$SHOT" difficulty_extra.png
tap z
wait_until 10 cursor_is charge_cursor 0 || fail "no charge-type menu: rows '$(charge_cursor)'"
cp "$SHOT" chargetype.png
tap Right
wait_until 8 cursor_is charge_cursor 1 || fail "Right did not move to Laser: rows '$(charge_cursor)'"
# Backing out of the Extra stage goes straight home.
tap x
wait_until 10 title_lit || fail "Cancel in the Extra charge-type menu did not reach the title"
tap Up
tap z
wait_exit 10 || fail "the game did not end after Exit (second run)"
[ "$E2E_RC" = "0" ] || fail "exit code $E2E_RC after Exit (second run)"
cmp -s score.dat score.before || fail "score.dat changed without a game"
echo "PASS"
