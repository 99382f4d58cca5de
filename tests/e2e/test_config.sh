#!/usr/bin/env bash
# The configuration screen with no joypad, as a keyboard player meets it:
# from the title's "Config", the music volume set to 80%, the key table
# opened and left with no button assigned (keys are never assigned), back to
# the title and out. The saved files hold the default buttons and the new
# volume, written whole (no temporary left behind).
# Arguments: the game binary, the built game directory.
source "$(dirname "$0")/common.sh"
GAME_DIR=$(realpath "$2")
[ -d "$GAME_DIR/Graphics" ] || fail "no built game data in $GAME_DIR"
for d in "$GAME_DIR"/*/; do ln -s "${d%/}" "$E2E_WORK/"; done
cd "$E2E_WORK" || fail "no scratch directory"

# Rows lit white (the cursor row) among COUNT rows of a menu whose first
# row's letters start at (X, Y), 25 pixels apart, WIDTH wide.
lit_rows() { white_rows "$3" 15 "$1" "$2" 25 "$4"; }
main_cursor() { lit_rows 128 337 184 3; }      # "Config" menu at (120, 300)
volume_cursor() { lit_rows 338 187 134 11; }   # "Volume" table at (330, 150)
key_cursor() { lit_rows 338 187 184 10; }      # "Key Config" table at (330, 150)

rm -f keyconfig.dat setting.dat
start_game
answer_screen_question
wait_until "$E2E_START_WAIT" title_lit || fail "the title never lit up"
wait_until "$E2E_WAIT" cursor_is title_cursor 0 || fail "cursor not on Start: rows '$(title_cursor)'"

# "Config" is the row above "Exit".
key Up title_cursor 4 || fail "Up from Start: rows '$(title_cursor)'"
key Up title_cursor 3 || fail "not on Config: rows '$(title_cursor)'"
key z main_cursor 0 || fail "no configuration menu: rows '$(main_cursor)'"
snap config_main.png
[ -n "${E2E_SHOT:-}" ] && cp config_main.png "$E2E_SHOT"

# Music volume: no settings file yet, so the table opens on "MAX"; two steps
# down is 80%.
key z volume_cursor 0 || fail "volume table not on MAX: rows '$(volume_cursor)'"
key Down volume_cursor 1 || fail "not on 90%: rows '$(volume_cursor)'"
key Down volume_cursor 2 || fail "not on 80%: rows '$(volume_cursor)'"
snap config_volume.png
key z main_cursor 0 || fail "OK did not close the volume table: '$(main_cursor)'"

# Key table: OK and Cancel keys on a button row assign nothing and stay.
key Down main_cursor 1 || fail "not on the row below Music: rows '$(main_cursor)'"
key Down main_cursor 2 || fail "not on Key Config: rows '$(main_cursor)'"
key z key_cursor 0 || fail "no key table: rows '$(key_cursor)'"
snap config_keys.png
press "$WIN" z
press "$WIN" x
cursor_is key_cursor 0 || fail "keys on a button row moved or closed the table: '$(key_cursor)'"
# Up wraps to "Back", whose OK closes the table.
key Up key_cursor 9 || fail "Up did not wrap to Back: rows '$(key_cursor)'"
key z main_cursor 2 || fail "Back did not close the key table: '$(main_cursor)'"

# Cancel leaves for the title; the files are written on the way out.
hold_until "$WIN" x title_lit || fail "Cancel did not return to the title"
wait_until "$E2E_WAIT" cursor_is title_cursor 0 || fail "new title not on Start: rows '$(title_cursor)'"
[ -f keyconfig.dat ] || fail "no keyconfig.dat after leaving the configuration"
[ -f setting.dat ] || fail "no setting.dat after leaving the configuration"
key Up title_cursor 4 || fail "Up from Start: rows '$(title_cursor)'"
hold_until "$WIN" z game_ended || fail "the game did not end after Exit"
wait_exit "$E2E_WAIT" || fail "the game did not end after Exit"
[ "$E2E_RC" = "0" ] || fail "exit code $E2E_RC"

keys=$(od -An -tx1 -v keyconfig.dat | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
want="10 00 00 00 20 00 00 00 10 00 00 00 20 00 00 00 40 00 00 00 80 00 00 00 00 02 00 00 00 01 00 00"
[ "$keys" = "$want" ] || fail "keyconfig.dat is not the defaults: $keys"
settings=$(od -An -tu4 -v setting.dat | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
[ "$settings" = "80 255" ] || fail "setting.dat holds '$settings', not music 80 and effects untouched"
ls ./*.tmp >/dev/null 2>&1 && fail "a temporary file was left behind"
echo "PASS"
