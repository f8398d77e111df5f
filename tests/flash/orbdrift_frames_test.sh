#!/bin/bash
# orbdrift's own frames against the flash thresholds, 60 a second (steps of
# 17 ms, so 58.8), each sequence after the black a saver starts from: ten
# seconds of every texture at the slowest and the fastest speed, the layers
# on at one and off at the other (paired so that each speed meets both), and
# three seconds around a wallpaper's new day bringing each texture to the
# fastest scene, and around a monitor added. 640 x 480 is the smallest frame
# in which the noise's grain, finer than a tenth of a degree on a real
# screen, is finer than what the checker sees.
# Usage: orbdrift_frames_test.sh SNAPSHOT-TOOL FLASH-CHECK OUTPUT-DIR
set -u
tool=$1
checker=$2
out=$3
size=640x480
textures=(SPHERE NOTSPHERE GRADIENT SMOKE FOG RING STAR SAND CHECK GRILLE FLECK)
rm -rf "$out"
mkdir -p "$out"
failed=0
sequences=0

# What runs now, ended with the script however it ends.
child=""
trap '[ -n "$child" ] && kill "$child" 2>/dev/null; exit 1' INT TERM HUP
run() {
    "$@" &
    child=$!
    wait "$child"
}

# The black a saver starts from, and white, to see that the checker fails.
python3 -c 'import struct, sys, zlib
w, h = map(int, sys.argv[1].split("x"))
chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
for name, level in (("black", 0), ("white", 255)):
    rows = (b"\0" + bytes([level]) * 3 * w) * h
    head = chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
    png = b"\x89PNG\r\n\x1a\n" + head + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")
    open(sys.argv[2] + "/" + name + ".png", "wb").write(png)' \
    "$size" "$out"
"$checker" --fps 10 "$out"/{black,white,black,white,black,white,black,white}.png >/dev/null
[ $? -eq 1 ] || { echo "FAIL: the checker passes black and white at 5 a second"; failed=1; }

# check NAME FRAMES SNAPSHOT-OPTION...: a sequence that flashes is kept to be looked at.
check() {
    local name=$1 count=$2 dir=$out/$1
    shift 2
    mkdir -p "$dir"
    sequences=$((sequences + 1))
    run "$tool" --size "$size" --frames "$count" --step-ms 17 --every 1 --seed 3 --quick "$@" \
        -o "$dir/f.png" || { echo "FAIL: $name: no frames"; failed=1; return; }
    if run "$checker" --fps 58.82 "$out/black.png" "$dir"/f-*.png >"$dir/verdict"; then
        rm -rf "$dir"
    else
        echo "FAIL: $name flashes:" && cat "$dir/verdict"
        failed=1
    fi
}

layers=(--particles --overlays)
for i in "${!textures[@]}"; do
    texture=${textures[i]}
    for speed in 0.25 4; do
        # The layers on for even textures at the fastest speed, odd ones at the slowest.
        fastest=$([ "$speed" = 4 ] && echo 1 || echo 0)
        on=$(((i % 2 == 0) == fastest))
        if [ "$on" -eq 1 ]; then
            check "$texture-$speed-layers" 600 --texture "$texture" --speed "$speed" "${layers[@]}"
        else
            check "$texture-$speed" 600 --texture "$texture" --speed "$speed"
        fi
    done
    check "new-day-$texture" 180 --texture FLECK --new-texture "60:$texture" --speed 4
done
check monitor-added 180 --monitor-added 60 --speed 4 "${layers[@]}"

[ "$failed" -eq 0 ] && echo "ok: no flashes over the limit in $sequences sequences"
exit "$failed"
