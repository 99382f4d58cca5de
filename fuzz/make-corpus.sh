#!/usr/bin/env bash
# Rebuilds the fuzzers' seed inputs in fuzz/corpus/<target>/ from the built
# game data: a few small files per reader, cut down where the real files are
# large, so that every target starts from inputs it accepts.
#   fuzz/make-corpus.sh [GAME_DIR]   (default build/game; needs ImageMagick,
#   sox and 7z, and velmora-pack beside GAME_DIR)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
game=$(realpath "${1:-$here/../build/game}")
pack="$(dirname "$game")/velmora-pack"
key="qtvz@R27"
out="$here/corpus"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

seeds() { rm -rf "${out:?}/$1"; mkdir -p "$out/$1"; }
G="$game/Graphics" S="$game/Sounds" D="$game/Data"

seeds png
cp "$G/hp_bar.png" "$G/charge_bar.png" "$G/bullet11.png" "$out/png/"
convert "$G/bullet11.png" PNG8:"$out/png/palette.png"
convert "$G/bullet11.png" -colorspace Gray PNG:"$out/png/gray.png"
convert "$G/bullet11.png" -interlace PNG PNG48:"$out/png/interlaced-16bit.png"

seeds jpeg
convert "$G/stage1-1.jpg" -crop 64x48+96+96 +repage -strip "$scratch/cut.png"
convert "$scratch/cut.png" -quality 80 "$out/jpeg/baseline.jpg"
convert "$scratch/cut.png" -quality 80 -interlace JPEG "$out/jpeg/progressive.jpg"
convert "$scratch/cut.png" -colorspace Gray -quality 70 "$out/jpeg/gray.jpg"
convert "$scratch/cut.png" -sampling-factor 1x1 -quality 90 "$out/jpeg/full-chroma.jpg"

seeds ogg
sox "$S/BGM/story.ogg" -C 0 "$out/ogg/stereo.ogg" trim 0 0.2
sox "$S/BGM/story.ogg" -C 0 "$out/ogg/mono-22k.ogg" trim 0 0.2 remix 1 rate 22050

seeds wav
cp "$S/SE/se_hit.wav" "$S/SE/se_select00.wav" "$out/wav/"
sox "$S/SE/se_hit.wav" -b 8 -c 2 "$out/wav/8bit-stereo.wav"

# Small archives as the packer and as 7-Zip write them (deflated and stored
# members, two key lengths).
seeds archive
mkdir -p "$scratch/in/sub"
cp "$G/anime1.csv" "$scratch/in/"
cp "$G/hp_bar.png" "$scratch/in/sub/"
"$pack" "$scratch/in" "$out/archive/packer.dat" >/dev/null
(cd "$scratch/in" && 7z a -tzip -mem=AES256 "-p$key" "$out/archive/7z-aes256.dat" . >/dev/null)
(cd "$scratch/in" && 7z a -tzip -mx0 -mem=AES128 "-p$key" "$out/archive/7z-aes128-stored.dat" . >/dev/null)

seeds anime
cp "$G/anime1.csv" "$G/anime4.csv" "$out/anime/"
seeds bgm
cp "$S/BGM/BGM.tsv" "$out/bgm/"
seeds enemy_table
cp "$D/EnemyDB/enemy1.csv" "$D/EnemyDB/enemy7.csv" "$D/EnemyDB/enemy12.csv" "$out/enemy_table/"
seeds event
cp "$D/Event/event101.csv" "$D/Event/event11.csv" "$out/event/"
seeds stage_script
cp "$D/Stage/stage1.csv" "$out/stage_script/"
seeds model
head -n 21 "$G/doro.mv1" >"$out/model/four-quads.mv1"

# The game's own files: default key configuration and volumes, the empty
# high-score table a first run writes, and a stage-1 replay.
seeds keyconfig
printf '\x10\0\0\0\x20\0\0\0\x10\0\0\0\x20\0\0\0\x40\0\0\0\x80\0\0\0\0\x02\0\0\0\x01\0\0' \
  >"$out/keyconfig/default.dat"
seeds settings
printf '\xff\0\0\0\xc0\0\0\0' >"$out/settings/volumes.dat"
seeds score
head -c 3944 /dev/zero >"$out/score/empty.dat"
seeds replay
cp "$here/../tests/data/replays/stage1-easy.vmr" "$out/replay/"

du -sb "$out"/* | sed "s|$out/||"
