#!/usr/bin/env bash
# Start-up under a real X server: the screen-mode question is answered "No"
# with Escape, the game opens a 640 x 480 window showing the loading picture,
# and closing the window ends the program with exit code 0.
# Arguments: the game binary, the built game directory (unused here).
source "$(dirname "$0")/common.sh"

# A loading picture nobody could mistake: red left half, blue right half,
# a green band across the middle.
mkdir -p "$E2E_WORK/Graphics"
convert -size 320x480 xc:'#d02020' -size 320x480 xc:'#2040e0' +append \
  -fill '#20c040' -draw 'rectangle 0,220 639,259' \
  PNG32:"$E2E_WORK/Graphics/loading.png" || fail "cannot make the loading picture"
# The loading picture is up only while loading; the title that follows
# shows the same picture, so the screen keeps it for the checks below.
cp "$E2E_WORK/Graphics/loading.png" "$E2E_WORK/Graphics/title.png" || fail "cannot make the title picture"

source "$E2E_HERE/startup_steps.sh"
echo "PASS"
