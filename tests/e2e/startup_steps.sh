# The start-up walk shared by the start-up scripts, once the loading picture
# (red left, blue right, green band at y 220..259) is in place.

start_game
wait_until 10 window_shown 'スクリーン設定' ||
  fail "no screen-mode question appeared"
BOX=$(find_window 'スクリーン設定')
game_running || fail "the game ended before the question was answered"

# Escape answers "No": windowed.
press "$BOX" Escape
wait_until 10 window_shown '^Velmora' || fail "no game window after answering"
WIN=$(find_window '^Velmora')
! window_shown 'スクリーン設定' || fail "the question is still open"

SIZE=$(window_size "$WIN")
[ "$SIZE" = "640x480" ] || fail "game window is $SIZE, not 640x480"

# The loading picture must be on screen: poll screenshots until it shows.
SHOT="$E2E_WORK/shot.png"
shows_loading_picture() {
  import -window "$WIN" "$SHOT" 2>/dev/null || return 1
  near "$(pixel "$SHOT" 100 120)" 208 32 32 &&
    near "$(pixel "$SHOT" 540 360)" 32 64 224 &&
    near "$(pixel "$SHOT" 320 240)" 32 192 64
}
wait_until 10 shows_loading_picture ||
  fail "loading picture not shown: left $(pixel "$SHOT" 100 120)," \
       "right $(pixel "$SHOT" 540 360), band $(pixel "$SHOT" 320 240)"
[ -n "${E2E_SHOT:-}" ] && cp "$SHOT" "$E2E_SHOT"

close_window "$WIN" || fail "could not ask the window to close"
wait_exit 10 || fail "the game did not end after its window was closed"
[ "$E2E_RC" = "0" ] || fail "exit code $E2E_RC after closing the window"
