# Helpers shared by the end-to-end scripts: a private X server, the game in
# a scratch directory, windows found by title, keys, pixels and closing.
# Sourced by test_*.sh with the game binary as $1.

set -u

E2E_GAME=$(realpath "$1")
E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Run the whole script again inside its own X server (no window manager).
if [ -z "${E2E_DISPLAY_READY:-}" ]; then
  export E2E_DISPLAY_READY=1
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$0" "$@"
fi

E2E_WORK=$(mktemp -d /tmp/velmora-e2e-XXXXXX)
E2E_PID=""
E2E_FAILED=0

e2e_cleanup() {
  if game_running; then
    kill "$E2E_PID" 2>/dev/null
    sleep 0.5
    kill -9 "$E2E_PID" 2>/dev/null
  fi
  if [ "$E2E_FAILED" -ne 0 ] || [ -n "${E2E_KEEP:-}" ]; then
    echo "e2e: files kept in $E2E_WORK"
  else
    rm -rf "$E2E_WORK"
  fi
}
trap e2e_cleanup EXIT

fail() {
  E2E_FAILED=1
  echo "FAIL: $*"
  if [ -f "$E2E_WORK/game.log" ]; then
    echo "--- game output"
    cat "$E2E_WORK/game.log"
  fi
  exit 1
}

# wait_until SECONDS COMMAND...: polls every 0.1 s until COMMAND succeeds.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  while ! "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

# Starts the game in the scratch directory.
start_game() {
  (cd "$E2E_WORK" && exec env SDL_AUDIODRIVER=dummy "$E2E_GAME" >"$E2E_WORK/game.log" 2>&1) &
  E2E_PID=$!
}

# Alive and not merely waiting to be reaped.
game_running() {
  [ -n "$E2E_PID" ] && [ -e "/proc/$E2E_PID" ] &&
    ! grep -q '^State:[[:space:]]*Z' "/proc/$E2E_PID/status" 2>/dev/null
}
game_ended() { ! game_running; }

# find_window REGEX: prints the id of the mapped top-level window whose title
# matches. (xdotool's search cannot read the UTF-8 titles SDL sets through
# Xlib's "UTF-8" property type, so the window tree is read instead.)
find_window() {
  local id
  for id in $(xwininfo -root -children 2>/dev/null |
    awk -v re="$1" 'match($0, /"[^"]*"/) { t = substr($0, RSTART + 1, RLENGTH - 2); if (t ~ re) print $1 }'); do
    if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
      echo "$id"
      return 0
    fi
  done
}

window_shown() { [ -n "$(find_window "$1")" ]; }

# press WINDOW KEY: focus (no window manager, so no activation) and a short
# press, the way a hand does it.
press() {
  xdotool windowfocus "$1" 2>/dev/null
  sleep 0.1
  xdotool keydown "$2"
  sleep 0.08
  xdotool keyup "$2"
}

window_size() {
  xwininfo -id "$1" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'
}

# pixel FILE X Y: "R G B" in 0..255.
pixel() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 -format '%[fx:int(255*r+.5)] %[fx:int(255*g+.5)] %[fx:int(255*b+.5)]' info:
}

# near "R G B" R G B: each channel within 24 of the expected value.
near() {
  local got=($1)
  local i want=("$2" "$3" "$4")
  for i in 0 1 2; do
    local d=$((got[i] - want[i]))
    [ "${d#-}" -le 24 ] || return 1
  done
}

close_window() {
  [ -x "$E2E_WORK/close_window" ] ||
    cc -O1 -o "$E2E_WORK/close_window" "$E2E_HERE/close_window.c" -lX11 ||
    fail "cannot build the window-closing helper"
  "$E2E_WORK/close_window" "$1"
}

# wait_exit SECONDS: waits for the game to end; its exit code lands in
# E2E_RC. Fails when it is still running after SECONDS.
wait_exit() {
  wait_until "$1" game_ended || return 1
  wait "$E2E_PID"
  E2E_RC=$?
  E2E_PID=""
}
