#!/usr/bin/env bash
# The first minutes of a new player: answer the screen question No, see the
# title picture with the title menu, move the menu with the arrow keys,
# save screenshots with P, close the window, and expect exit code 0.
# Arguments: the game binary, the built game directory (unused here).
source "$(dirname "$0")/common.sh"

# Top-level window whose title is exactly $1 (xwininfo reads the UTF-8
# titles xdotool's search misses on some servers).
window_titled() {
  xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | head -n 1 | awk '{print $1}'
}
# A 640 x 480 Windows bitmap.
is_640x480_bmp() {
  case "$(identify -format '%m %w %h' "$1" 2>/dev/null)" in
    "BMP 640 480" | "BMP3 640 480") return 0 ;;
  esac
  return 1
}

# A title picture nobody could mistake: red left half, blue right half.
# The logo is left out, so both halves show plainly around the menu.
mkdir -p "$E2E_WORK/Graphics"
convert -size 320x480 xc:'#d02020' -size 320x480 xc:'#2040e0' +append \
  PNG32:"$E2E_WORK/Graphics/title.png" || fail "cannot make the title picture"

start_game
answer_screen_question  # "No": a window
[ "$(($(window_titled "Velmora 体験版")))" = "$((WIN))" ] || fail "the game window is not titled 'Velmora 体験版'"
# Loading runs with the window up, then the title fades in: wait until the
# screen shows the title picture at full brightness.
uncovered() {
  snap "$E2E_WORK/screen.png" &&
    near "$(pixel "$E2E_WORK/screen.png" 100 120)" 208 32 32
}
wait_until "$E2E_START_WAIT" uncovered || fail "the title picture never came up: $(pixel "$E2E_WORK/screen.png" 100 120)"
wait_until "$E2E_WAIT" cursor_is title_cursor 0 || fail "cursor not on the first row: rows '$(title_cursor)'"

cd "$E2E_WORK" || fail "no scratch directory"
hold_until "$WIN" p is_640x480_bmp snapshot/vm0000.bmp || fail "P saved no snapshot/vm0000.bmp"
key Up title_cursor 4 || fail "Up did not move past the first row onto the last: rows '$(title_cursor)'"
hold_until "$WIN" p is_640x480_bmp snapshot/vm0001.bmp || fail "the second P saved no snapshot/vm0001.bmp"
key Down title_cursor 0 || fail "Down did not move past the last row to the first: rows '$(title_cursor)'"
hold_until "$WIN" p is_640x480_bmp snapshot/vm0002.bmp || fail "the third P saved no snapshot/vm0002.bmp"

for shot in snapshot/vm0000.bmp snapshot/vm0001.bmp snapshot/vm0002.bmp; do
  is_640x480_bmp "$shot" || fail "$shot is not a 640 x 480 BMP"
done
# The saved picture is the game's: the title picture, the right way up.
near "$(pixel snapshot/vm0000.bmp 100 120)" 208 32 32 ||
  fail "screenshot left half is $(pixel snapshot/vm0000.bmp 100 120), not the title picture's red"
near "$(pixel snapshot/vm0000.bmp 400 100)" 32 64 224 ||
  fail "screenshot right half is $(pixel snapshot/vm0000.bmp 400 100), not blue"
cmp -s snapshot/vm0000.bmp snapshot/vm0001.bmp && fail "Up did not move the menu cursor"
cmp -s snapshot/vm0000.bmp snapshot/vm0002.bmp || fail "the cursor did not wrap back to the first row"
[ -n "${E2E_SHOT:-}" ] && cp snapshot/vm0001.bmp "$E2E_SHOT"

close_window "$WIN" || fail "could not ask the window to close"
wait_exit "$E2E_WAIT" || fail "the game did not end after its window was closed"
[ "$E2E_RC" = "0" ] || fail "exit code $E2E_RC after closing the window"
echo "PASS"
