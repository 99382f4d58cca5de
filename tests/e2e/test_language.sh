#!/usr/bin/env bash
# The language as a player meets it: an English locale asks the start-up
# question in English and titles the window in English; Config → Language →
# Japanese retitles the window at once; the choice is kept in language.dat,
# so the next start, still in the English locale, speaks Japanese; --lang en
# on the command line wins over the saved choice.
# Arguments: the game binary, the built game directory.
export E2E_LOCALE=en_US.UTF-8
source "$(dirname "$0")/common.sh"
GAME_DIR=$(realpath "$2")
[ -d "$GAME_DIR/Graphics" ] || fail "no built game data in $GAME_DIR"
for d in "$GAME_DIR"/*/; do ln -s "${d%/}" "$E2E_WORK/"; done
cd "$E2E_WORK" || fail "no scratch directory"

EXTRA_ARGS=()
start_game_with_args() {
  (cd "$E2E_WORK" && exec env "${E2E_LOCALE_ENV[@]}" SDL_AUDIODRIVER=dummy "$E2E_GAME" \
    "${EXTRA_ARGS[@]}" >"$E2E_WORK/game.log" 2>&1) &
  E2E_PID=$!
}
E2E_START=start_game_with_args

lit_rows() { white_rows "$3" 15 "$1" "$2" 25 "$4"; }
main_cursor() { lit_rows 128 337 184 4; }     # "Config" menu at (120, 300)
language_cursor() { lit_rows 338 187 134 2; } # "Language" table at (330, 150)

# start_expecting CAPTION WINDOW-TITLE: starts the game, sees the question
# under CAPTION, answers it and sees the game window titled WINDOW-TITLE.
start_expecting() {
  "$E2E_START"
  wait_until "$E2E_START_WAIT" window_shown "^$1\$" ||
    fail "no question captioned '$1'; windows: $(xwininfo -root -children | grep '"')"
  answer_screen_question
  window_shown "^$2\$" || fail "the game window is not titled '$2': $(xwininfo -root -children | grep '"')"
  wait_until "$E2E_START_WAIT" title_lit || fail "the title never lit up"
  wait_until "$E2E_WAIT" cursor_is title_cursor 0 || fail "cursor not on Start: rows '$(title_cursor)'"
}

exit_from_title() {
  key Up title_cursor 4 || fail "Up from Start: rows '$(title_cursor)'"
  hold_until "$WIN" z game_ended || fail "the game did not end after Exit"
  wait_exit "$E2E_WAIT" || fail "the game did not end after Exit"
  [ "$E2E_RC" = "0" ] || fail "exit code $E2E_RC"
}

rm -f language.dat
start_expecting 'Screen mode' 'Velmora Trial'
snap "$E2E_WORK/title_en.png"

# Config is the row above Exit; Language the fourth row of its menu.
key Up title_cursor 4 || fail "Up from Start: rows '$(title_cursor)'"
key Up title_cursor 3 || fail "not on Config: rows '$(title_cursor)'"
key z main_cursor 0 || fail "no configuration menu: rows '$(main_cursor)'"
key Up main_cursor 3 || fail "Up did not wrap to Language: rows '$(main_cursor)'"
key z language_cursor 1 || fail "the language table is not on English: rows '$(language_cursor)'"
# Japanese is in force as soon as the cursor is on it.
key Up language_cursor 0 || fail "not on Japanese: rows '$(language_cursor)'"
wait_until "$E2E_WAIT" window_shown '^Velmora 体験版$' ||
  fail "the window title did not change: $(xwininfo -root -children | grep '"')"
key z main_cursor 3 || fail "OK did not close the language table: '$(main_cursor)'"
hold_until "$WIN" x title_lit || fail "Cancel did not return to the title"
wait_until "$E2E_WAIT" cursor_is title_cursor 0 || fail "new title not on Start: rows '$(title_cursor)'"
[ "$(cat language.dat)" = "ja" ] || fail "language.dat holds '$(cat language.dat)', not ja"
exit_from_title

# The saved choice outweighs the English locale.
start_expecting 'スクリーン設定' 'Velmora 体験版'
exit_from_title
[ "$(cat language.dat)" = "ja" ] || fail "language.dat changed without a choice"

# The command line outweighs the saved choice, and does not replace it.
EXTRA_ARGS=(--lang en)
start_expecting 'Screen mode' 'Velmora Trial'
exit_from_title
[ "$(cat language.dat)" = "ja" ] || fail "language.dat changed without a choice"
ls ./*.tmp >/dev/null 2>&1 && fail "a temporary file was left behind"
echo "PASS"
