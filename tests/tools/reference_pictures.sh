#!/bin/sh
# Every picture as the saver drew it before its frame was made lighter: the
# snapshot tool at three sizes and five moments, by default and with each
# layer on, against the checksums in bench/pictures.sha256. Prints how many
# are the same; fails unless all are.
# Usage: reference_pictures.sh SNAPSHOT-TOOL OUTPUT-DIR
set -u
tool=$1
pictures=$2
sums="$(cd "$(dirname "$0")/../.." && pwd)/bench/pictures.sha256"
rm -rf "$pictures"
mkdir -p "$pictures"
for size in 1280x1024 640x480 333x211; do
    for step in 5 733 4100 29000 3600000; do
        for setting in "" --stars --particles --overlays "--texture SMOKE"; do
            # shellcheck disable=SC2086 # a setting is an option and its value
            "$tool" --size "$size" --frames 3 --step-ms "$step" --seed 11 \
                $setting -o "$pictures/$(echo "$size-$step$setting" | tr ' ' '-').png"
        done
    done
done
same=$(cd "$pictures" && sha256sum -c "$sums" 2>/dev/null | grep -c ': OK$')
echo "$same"
[ "$same" -eq "$(wc -l <"$sums")" ]
