#!/usr/bin/env bash
# Shows that each stage's own music reaches the mixer when the stage starts:
# for every STAGE=REPLAY pair the real game watches the replay under Xvfb
# with SDL's disk audio driver and the effects muted
# (tools/capture-replay-sound.sh), and the first ten seconds of the stage
# are matched against every tune (tools/match-music.py). A stage passes when
# its capture is above silence and matches the stage's own music number
# best, closely.
#
#   tools/capture-stage-music.sh GAME GAME_DIR OUT_DIR STAGE=REPLAY...
#
# e.g. tools/capture-stage-music.sh build/velmora build/game /tmp/cap \
#        1=tests/data/replays/stage1-normal.vmr 2=tests/data/replays/stage2-normal.vmr
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
GAME=$1
GAME_DIR=$2
OUT_DIR=$3
shift 3
# The music number each stage starts (the stage scene's own table).
STAGE_MUSIC=(-1 2 4 6 8 11 13 16)
failed=0
for pair in "$@"; do
  stage=${pair%%=*}
  replay=${pair#*=}
  out=$OUT_DIR/stage$stage
  file=$(grep -v '^/' "$GAME_DIR/Sounds/BGM/BGM.tsv" | sed -n "$((STAGE_MUSIC[stage] + 1))p" | cut -f1)
  if ! MUTE_EFFECTS=1 STAGE_SECONDS=10 bash "$ROOT/tools/capture-replay-sound.sh" \
    "$GAME" "$GAME_DIR" "$replay" "$out" >"$out.log" 2>&1; then
    echo "stage $stage: the capture failed (see $out.log)"
    failed=1
    continue
  fi
  read -r from to < <(sed -n 's/^stage.*: \([0-9.]*\) s to \([0-9.]*\) s$/\1 \2/p' "$out/stats.txt")
  # The stage may start a moment before the tap that starts it is counted.
  from=$(echo "if ($from > 2) $from - 2 else 0" | bc)
  "$ROOT/tools/match-music.py" "$out/audio.raw" --from "$from" --to "$to" "$GAME_DIR" >"$out/match.txt"
  level=$(sed -n 's/^level \([-0-9.inf]*\) dBFS.*/\1/p' "$out/match.txt")
  read -r _ best r at < <(sed -n 2p "$out/match.txt")
  verdict=ok
  if [ "$best" != "$file" ] || [ "$(echo "${r#r=} < 0.9" | bc)" = 1 ] ||
    [ "$(echo "$level < -40" | bc 2>/dev/null || echo 1)" = 1 ]; then
    verdict=FAILED
    failed=1
  fi
  echo "stage $stage: music ${STAGE_MUSIC[stage]} ($file) level $level dBFS; best match $best $r $at: $verdict"
done
exit $failed
