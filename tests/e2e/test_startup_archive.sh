#!/usr/bin/env bash
# The same start-up with the pictures only in the encrypted archive
# Graphics.dat that the packer writes: the loading picture is read from it.
# Arguments: the game binary, the built game directory (unused here).
source "$(dirname "$0")/common.sh"

PACK="$(dirname "$E2E_GAME")/velmora-pack"
[ -x "$PACK" ] || fail "no archive packer beside the game at $PACK"
mkdir -p "$E2E_WORK/src"
convert -size 320x480 xc:'#d02020' -size 320x480 xc:'#2040e0' +append \
  -fill '#20c040' -draw 'rectangle 0,220 639,259' \
  PNG32:"$E2E_WORK/src/loading.png" || fail "cannot make the loading picture"
# The loading picture is up only while loading; the title that follows
# shows the same picture, so the screen keeps it for the checks below.
cp "$E2E_WORK/src/loading.png" "$E2E_WORK/src/title.png" || fail "cannot make the title picture"
"$PACK" "$E2E_WORK/src" "$E2E_WORK/Graphics.dat" >/dev/null || fail "packing failed"
rm -rf "$E2E_WORK/src"
[ ! -e "$E2E_WORK/Graphics" ] || fail "a Graphics folder would hide the archive"

source "$E2E_HERE/startup_steps.sh"
echo "PASS"
