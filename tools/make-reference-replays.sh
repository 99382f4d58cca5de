#!/bin/bash
# Regenerates reference replays (tests/data/replays/) with the playtest bot,
# from the game data built from content/. Run it after a deliberate change
# to a stage's data (content/Data/Stage, EnemyDB, Event) for that stage
# only, and commit the new files with that change.
#
#   tools/make-reference-replays.sh [build-dir] [stage... | game]
#
# build-dir defaults to build; the stages default to every scripted stage
# and the whole game. A stage N gives stageN-easy/normal/apocrypha.vmr, the
# Extra stage 7 (played on its own difficulty only) stage7-extra.vmr;
# "game" gives game-normal.vmr, a whole game from stage 1 through the
# cut-scenes on Normal. The game data and both tools are brought up to date
# in the build directory first. Each game is played with a fixed seed,
# continues taken so that the whole stage is on record, and every file
# written is checked with velmora-replay before the script reports success.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(1 2 3 4 5 6 7 game)
out=$root/tests/data/replays
seed=1

if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "make-reference-replays: $build is not a configured build directory" >&2
  echo "  configure it first: cmake -S $root -B $build -DCMAKE_BUILD_TYPE=Release" >&2
  exit 2
fi
cmake --build "$build" --target game_data velmora-playtest velmora-replay -j"${JOBS:-2}"
mkdir -p "$out"

# difficulty and charge type of each reference game of a stage
games=("easy shield" "normal laser" "apocrypha shield")
written=()
for target in "${targets[@]}"; do
  if [ "$target" = game ]; then
    file=$out/game-normal.vmr
    "$build/velmora-playtest" -C "$build/game" --game --difficulty normal --charge shield \
      --seed "$seed" --save-replay "$file"
    written+=("$file")
    echo
    continue
  fi
  stage_games=("${games[@]}")
  [ "$target" = 7 ] && stage_games=("extra shield")
  for game in "${stage_games[@]}"; do
    read -r difficulty charge <<<"$game"
    file=$out/stage$target-$difficulty.vmr
    "$build/velmora-playtest" -C "$build/game" --stage "$target" --difficulty "$difficulty" \
      --charge "$charge" --seed "$seed" --continue --save-replay "$file"
    written+=("$file")
    echo
  done
done

"$build/velmora-replay" -C "$build/game" "${written[@]}"
echo "make-reference-replays: written and checked in $out"
