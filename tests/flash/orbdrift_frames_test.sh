#!/bin/bash
# orbdrift's own frames against the flash thresholds: the snapshot tool draws
# ten simulated seconds at 60 frames a second (steps of 17 ms, so 58.8) for
# every texture, at the slowest and the fastest speed, with particles and
# overlays off and on, each after the black the saver starts from; then the
# moments that change the picture at once, three seconds around each: a
# wallpaper's new day bringing each texture to the fastest scene, and a
# monitor added. 640 x 480 is the smallest frame in which the noise texture's
# grain, finer than a tenth of a degree on a real screen, is still finer
# than the squares the checker looks at; the area that counts is scaled to
# the frame.
# Usage: orbdrift_frames_test.sh SNAPSHOT-TOOL FLASH-CHECK OUTPUT-DIR
set -u
tool=$1
checker=$2
out=$3
size=640x480
step_ms=17
frames=600 # ten seconds
fps=$(awk -v step="$step_ms" 'BEGIN {print 1000 / step}')
textures=(SPHERE NOTSPHERE GRADIENT SMOKE FOG RING STAR SAND CHECK GRILLE FLECK)
rm -rf "$out"
mkdir -p "$out"
failed=0

# The black a saver's window shows before its first frame.
python3 - "$out/black.png" "${size%x*}" "${size#*x}" <<'PY'
import struct, sys, zlib
path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
rows = b"".join(b"\0" + bytes(3 * width) for _ in range(height))
with open(path, "wb") as png:
    png.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
              + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
PY

# check NAME FRAMES SNAPSHOT-OPTION...: that many frames of those options,
# from black. A sequence that flashes is kept to be looked at.
check() {
    local name=$1 count=$2 dir=$out/$1 verdict
    shift 2
    mkdir -p "$dir"
    "$tool" --size "$size" --frames "$count" --step-ms "$step_ms" --every 1 --seed 3 --quick "$@" \
        -o "$dir/f.png" || { echo "FAIL: $name: no frames"; failed=1; return; }
    verdict=$("$checker" --fps "$fps" "$out/black.png" "$dir"/f-*.png)
    case $? in
    0) rm -rf "$dir" ;;
    *) echo "FAIL: $name flashes:"; echo "$verdict"; failed=1 ;;
    esac
}

for texture in "${textures[@]}"; do
    for speed in 0.25 4; do
        check "$texture-$speed" "$frames" --texture "$texture" --speed "$speed"
        check "$texture-$speed-layers" "$frames" --texture "$texture" --speed "$speed" \
            --particles --overlays
    done
    check "new-day-$texture" 180 --texture FLECK --new-texture "60:$texture" --speed 4
done
check monitor-added 180 --monitor-added 60 --speed 4 --particles --overlays

# The checker itself refuses what it cannot compare.
"$checker" --fps 0 "$out/black.png" >/dev/null 2>&1
[ $? -eq 2 ] || { echo "FAIL: a frame rate of 0 is taken"; failed=1; }
"$checker" --fps 60 "$out/black.png" "$out/none.png" >/dev/null 2>&1
[ $? -eq 2 ] || { echo "FAIL: a missing frame is taken"; failed=1; }

[ "$failed" -eq 0 ] && echo "ok: no flashes over the limit in $((${#textures[@]} * 5 + 1)) sequences"
exit "$failed"
