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
SHOT="$E2E_WORK/shot.png"

snap() { import -window "$WIN" "${1:-$SHOT}" 2>/dev/null; }
max_red() {
  convert "$1" -crop "$2x$3+$4+$5" +repage -format '%[fx:int(255*maxima.r+.5)]' info:
}
# Rows lit white (the cursor row) among `count` rows of a menu whose first
# row's letters start at (x, y), 25 pixels apart, `width` wide.
lit_rows() {
  snap || return 1
  local i hits="" red
  for ((i = 0; i < $4; i++)); do
    red=$(max_red "$SHOT" "$3" 15 "$1" $(($2 + 25 * i)))
    [ "$red" -ge 230 ] && hits="$hits$i"
  done
  echo "$hits"
}
title_cursor() {
  snap || return 1
  local i hits="" red
  for i in 0 1 2 3 4; do
    red=$(max_red "$SHOT" 84 9 278 $((297 + 22 * i)))
    [ "$red" -ge 230 ] && hits="$hits$i"
  done
  echo "$hits"
}
main_cursor() { lit_rows 128 337 184 3; }      # "Config" menu at (120, 300)
volume_cursor() { lit_rows 338 187 134 11; }   # "Volume" table at (330, 150)
key_cursor() { lit_rows 338 187 184 10; }      # "Key Config" table at (330, 150)
cursor_is() { [ "$("$1")" = "$2" ]; }
tap() {
  press "$WIN" "$1"
  sleep 0.3
}
title_lit() { snap && [ "$(max_red "$SHOT" 20 20 510 315)" -ge 200 ]; }

rm -f keyconfig.dat setting.dat
start_game
wait_until 15 window_shown 'スクリーン設定' || fail "no screen-mode question appeared"
press "$(find_window 'スクリーン設定')" Escape
wait_until 15 window_shown '^Velmora' || fail "no game window after answering"
WIN=$(find_window '^Velmora')
wait_until 20 title_lit || fail "the title never lit up"
wait_until 5 cursor_is title_cursor 0 || fail "cursor not on Start: rows '$(title_cursor)'"

# "Config" is the row above "Exit".
tap Up
tap Up
wait_until 3 cursor_is title_cursor 3 || fail "not on Config: rows '$(title_cursor)'"
tap z
wait_until 5 cursor_is main_cursor 0 || fail "no configuration menu: rows '$(main_cursor)'"
sleep 0.4
snap config_main.png
[ -n "${E2E_SHOT:-}" ] && cp config_main.png "$E2E_SHOT"

# Music volume: no settings file yet, so the table opens on "MAX"; two steps
# down is 80%.
tap z
wait_until 3 cursor_is volume_cursor 0 || fail "volume table not on MAX: rows '$(volume_cursor)'"
tap Down
tap Down
wait_until 3 cursor_is volume_cursor 2 || fail "not on 80%: rows '$(volume_cursor)'"
snap config_volume.png
tap z
wait_until 3 cursor_is main_cursor 0 || fail "OK did not close the volume table: '$(main_cursor)'"

# Key table: OK and Cancel keys on a button row assign nothing and stay.
tap Down
tap Down
wait_until 3 cursor_is main_cursor 2 || fail "not on Key Config: rows '$(main_cursor)'"
tap z
wait_until 3 cursor_is key_cursor 0 || fail "no key table: rows '$(key_cursor)'"
snap config_keys.png
tap z
tap x
cursor_is key_cursor 0 || fail "keys on a button row moved or closed the table: '$(key_cursor)'"
# Up wraps to "Back", whose OK closes the table.
tap Up
wait_until 3 cursor_is key_cursor 9 || fail "Up did not wrap to Back: rows '$(key_cursor)'"
tap z
wait_until 3 cursor_is main_cursor 2 || fail "Back did not close the key table: '$(main_cursor)'"

# Cancel leaves for the title; the files are written on the way out.
tap x
wait_until 10 title_lit || fail "Cancel did not return to the title"
wait_until 5 cursor_is title_cursor 0 || fail "new title not on Start: rows '$(title_cursor)'"
[ -f keyconfig.dat ] || fail "no keyconfig.dat after leaving the configuration"
[ -f setting.dat ] || fail "no setting.dat after leaving the configuration"
tap Up
tap z
wait_exit 10 || fail "the game did not end after Exit"
[ "$E2E_RC" = "0" ] || fail "exit code $E2E_RC"

keys=$(od -An -tx1 -v keyconfig.dat | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
want="10 00 00 00 20 00 00 00 10 00 00 00 20 00 00 00 40 00 00 00 80 00 00 00 00 02 00 00 00 01 00 00"
[ "$keys" = "$want" ] || fail "keyconfig.dat is not the defaults: $keys"
settings=$(od -An -tu4 -v setting.dat | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
[ "$settings" = "80 255" ] || fail "setting.dat holds '$settings', not music 80 and effects untouched"
ls ./*.tmp >/dev/null 2>&1 && fail "a temporary file was left behind"
echo "PASS"
