#!/usr/bin/env bash
# The installed game as a player meets it. Installed under a scratch root
# and started with --windowed from a folder without data, it asks nothing,
# reads its data from share/velmora beside its bin/, shows the title, and
# keeps the player's files in ~/.local/share/velmora; nothing is written
# into the installed tree or the folder it was started from.
# Arguments: the game binary (its build tree is what gets installed).
source "$(dirname "$0")/common.sh"

ROOT="$E2E_WORK/root"
DESTDIR="$ROOT" cmake --install "$(dirname "$E2E_GAME")" --prefix /usr >"$E2E_WORK/install.log" 2>&1 ||
  fail "install failed: $(tail -5 "$E2E_WORK/install.log")"
INSTALLED="$ROOT/usr/bin/velmora"
[ -x "$INSTALLED" ] || fail "no game in $ROOT/usr/bin"
[ "$("$INSTALLED" --version)" = "$("$E2E_GAME" --version)" ] || fail "the installed game is another version"
tree() { find "$ROOT" -printf '%p %s %T@\n' | sort; }
tree >"$E2E_WORK/tree.before"

HOME_DIR="$E2E_WORK/home"
START_DIR="$E2E_WORK/elsewhere"
mkdir -p "$HOME_DIR" "$START_DIR"
start_installed() {
  (cd "$START_DIR" && exec env -u XDG_DATA_HOME HOME="$HOME_DIR" SDL_AUDIODRIVER=dummy \
    "$INSTALLED" --windowed >"$E2E_WORK/game.log" 2>&1) &
  E2E_PID=$!
}
start_installed
# The question would hold the window back: its window shows without it.
wait_until "$E2E_START_WAIT" window_shown '^Velmora' ||
  fail "no game window (windows: $(xwininfo -root -children | grep '"'))"
WIN=$(find_window '^Velmora')
wait_until "$E2E_START_WAIT" title_lit || fail "the title never lit up: the data was not found"
[ -n "${E2E_SHOT:-}" ] && cp "$SHOT" "$E2E_SHOT"
close_window "$WIN" || fail "could not ask the window to close"
wait_exit "$E2E_WAIT" || fail "the game did not end after its window was closed"
[ "$E2E_RC" = "0" ] || fail "exit code $E2E_RC"

SAVES="$HOME_DIR/.local/share/velmora"
[ "$(stat -c %s "$SAVES/score.dat" 2>/dev/null)" = "3944" ] ||
  fail "no 3944-byte score.dat in $SAVES: $(ls -la "$SAVES" 2>&1)"
tree >"$E2E_WORK/tree.after"
cmp -s "$E2E_WORK/tree.before" "$E2E_WORK/tree.after" ||
  fail "the installed tree changed: $(diff "$E2E_WORK/tree.before" "$E2E_WORK/tree.after" | head)"
[ -z "$(ls -A "$START_DIR")" ] || fail "files written where the game was started: $(ls -A "$START_DIR")"
echo "PASS"
