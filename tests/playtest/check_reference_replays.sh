#!/bin/bash
# Plays the committed reference replays with velmora-replay against the
# built game data; any replay that does not play back in step fails.
#
#   check_reference_replays.sh velmora-replay game-dir source-dir replay...
#
# REPLAY_LANG (ja or en) plays the conversations in that language: the same
# replays must play in step in both.
set -u

replay_tool=$1
game_dir=$2
source_dir=$3
shift 3

status=0
for file in "$@"; do
  if [ ! -f "$file" ]; then
    echo "missing reference replay: $file"
    status=1
    continue
  fi
  if ! "$replay_tool" -C "$game_dir" ${REPLAY_LANG:+--lang "$REPLAY_LANG"} "$file"; then
    status=1
  fi
done

if [ "$status" -ne 0 ]; then
  cat <<MESSAGE

These reference replays no longer play back in step with the game.
If a stage's data (content/Data/Stage, content/Data/EnemyDB, content/Data/Event)
or the gameplay was changed on purpose, regenerate that stage's replays (and
the whole game's) with one command:

    $source_dir/tools/make-reference-replays.sh $(dirname "$game_dir") STAGE... game

and commit tests/data/replays/ with the change. Otherwise the game no longer
replays what it recorded: a determinism fault.
MESSAGE
fi
exit "$status"
