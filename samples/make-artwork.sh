#!/usr/bin/env bash
# Draws samples/artwork.png, the sample track's cover: paper lanterns over a road at night.
# Needs ImageMagick's convert.
set -euo pipefail
cd "$(dirname "$0")"
lanterns=()
for xy in 40,152 100,170 160,176 220,164 275,142; do
  lanterns+=(-fill '#ff9a3c' -draw "ellipse $xy 12,16 0,360" -fill '#ffd27a' -draw "ellipse $xy 5,8 0,360")
done
stars=()
for xy in 30,30 80,50 140,25 180,70 60,90 120,95 290,100; do
  stars+=(-draw "point $xy")
done
convert -size 300x300 gradient:'#141a3a'-'#3a2a55' \
  -fill '#f4e9c8' -draw 'circle 232,62 232,92' \
  -fill '#22214a' -draw 'circle 248,54 248,80' \
  -fill '#2a2238' -draw 'polygon 0,300 300,300 190,190 170,190' \
  -fill '#ffb860' -draw 'polygon 176,300 184,300 181,200 179,200' \
  -stroke '#d8c8a0' -strokewidth 2 -fill none -draw 'bezier 0,120 100,170 200,170 300,120' \
  -stroke none "${lanterns[@]}" -fill '#ffffff' "${stars[@]}" \
  -depth 8 -strip artwork.png
