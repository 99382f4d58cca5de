#!/usr/bin/env bash
# The first 20 seconds of every music number, in the order of BGM.tsv, in
# one Ogg file for listening through the whole soundtrack quickly. Each clip
# fades out over its last half second so the cuts do not click.
#
#   tools/music-preview.sh GAME_DIR OUT.ogg
set -euo pipefail
game=$1
out=$2
list=$game/Sounds/BGM/BGM.tsv
[ -f "$list" ] || { echo "no music list $list" >&2; exit 1; }

inputs=()
filters=""
labels=""
n=0
while IFS=$'\t' read -r file _loop _title; do
  file=${file%$'\r'}
  [ -z "$file" ] || [ "${file:0:1}" = / ] && continue
  inputs+=(-i "$game/Sounds/BGM/$file")
  filters+="[$n:a]atrim=0:20,asetpts=N/SR/TB,afade=t=out:st=19.5:d=0.5[c$n];"
  labels+="[c$n]"
  n=$((n + 1))
done <"$list"
[ "$n" -gt 0 ] || { echo "no music listed in $list" >&2; exit 1; }
ffmpeg -nostdin -hide_banner -loglevel error -y "${inputs[@]}" \
  -filter_complex "${filters}${labels}concat=n=$n:v=0:a=1[all]" -map "[all]" \
  -c:a libvorbis -q:a 4 "$out"
echo "$out: $n numbers, 20 s each"
