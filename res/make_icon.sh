#!/bin/sh
# Makes res/orbdrift.ico, the class icon, from the saver's own look: a square
# render of the scene by the snapshot tool, scaled by ImageMagick to the three
# sizes Windows shows. Run after a build (scripts/run or scripts/test).
set -eu
cd "$(dirname "$0")/.."
picture=$(mktemp --suffix=.png)
trap 'rm -f "$picture"' EXIT
build/orbdrift-snapshot --size 256x256 --frames 2000 --seed 20261208 -o "$picture"
"$(command -v /usr/bin/convert || command -v convert)" "$picture" -define icon:auto-resize=48,32,16 res/orbdrift.ico
