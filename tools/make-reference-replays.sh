#!/bin/bash
# Regenerates the reference replays of stage 1 (tests/data/replays/) with
# the playtest bot, from the game data built from content/. Run it after a
# deliberate change to stage 1's data (content/Data/Stage, EnemyDB, Event)
# and commit the new files with that change.
#
#   tools/make-reference-replays.sh [build-dir]     (default: build)
#
# The game data and both tools are brought up to date in the build
# directory first. Each game is played with a fixed seed, continues taken
# so that the whole stage is on record, and every file written is checked
# with velmora-replay before the script reports success.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")
out=$root/tests/data/replays
seed=1

if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "make-reference-replays: $build is not a configured build directory" >&2
  echo "  configure it first: cmake -S $root -B $build -DCMAKE_BUILD_TYPE=Release" >&2
  exit 2
fi
cmake --build "$build" --target game_data velmora-playtest velmora-replay -j"${JOBS:-2}"
mkdir -p "$out"

# difficulty and charge type of each reference game
games=("easy shield" "normal laser" "apocrypha shield")
for game in "${games[@]}"; do
  read -r difficulty charge <<<"$game"
  file=$out/stage1-$difficulty.vmr
  "$build/velmora-playtest" -C "$build/game" --stage 1 --difficulty "$difficulty" \
    --charge "$charge" --seed "$seed" --continue --save-replay "$file"
  echo
done

for game in "${games[@]}"; do
  read -r difficulty _ <<<"$game"
  "$build/velmora-replay" -C "$build/game" "$out/stage1-$difficulty.vmr"
done
echo "make-reference-replays: written and checked in $out"
