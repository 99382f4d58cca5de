# The start-up walk shared by the start-up scripts, once the loading picture
# (red left, blue right, green band at y 220..259) is in place.

start_game
# Escape answers "No": a 640 x 480 window.
answer_screen_question

# The loading picture must be on screen: poll screenshots until it shows.
shows_loading_picture() {
  snap || return 1
  near "$(pixel "$SHOT" 100 120)" 208 32 32 &&
    near "$(pixel "$SHOT" 540 360)" 32 64 224 &&
    near "$(pixel "$SHOT" 320 240)" 32 192 64
}
wait_until "$E2E_START_WAIT" shows_loading_picture ||
  fail "loading picture not shown: left $(pixel "$SHOT" 100 120)," \
       "right $(pixel "$SHOT" 540 360), band $(pixel "$SHOT" 320 240)"
[ -n "${E2E_SHOT:-}" ] && cp "$SHOT" "$E2E_SHOT"

close_window "$WIN" || fail "could not ask the window to close"
wait_exit "$E2E_WAIT" || fail "the game did not end after its window was closed"
[ "$E2E_RC" = "0" ] || fail "exit code $E2E_RC after closing the window"
