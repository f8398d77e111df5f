#!/bin/bash
# orbdrift's own frames against the flash thresholds. The snapshot tool draws
# ten simulated seconds at 60 frames a second (steps of 17 ms, so 58.8) of
# every texture at the slowest and the fastest speed, with the particles and
# overlays off and on, each after the black the saver starts from; then the
# moments that change the picture at once, three seconds around each: a
# wallpaper's new day bringing each texture to the fastest scene, and a
# monitor added.
#
# 640 x 480 is the smallest frame in which the noise texture's grain, finer
# than a tenth of a degree on a real screen, is still finer than the squares
# the checker looks at; the area that counts is scaled to the frame. To keep
# the check to minutes, each texture meets each speed and each layer state
# once, paired so that each speed meets both layer states too: 22 sequences
# of ten seconds instead of 44. With `all` every pairing is drawn.
# Usage: orbdrift_frames_test.sh SNAPSHOT-TOOL FLASH-CHECK OUTPUT-DIR [all]
set -u
tool=$1
checker=$2
out=$3
every_pairing=${4:-}
size=640x480
step_ms=17
frames=600 # ten seconds
fps=$(awk -v step="$step_ms" 'BEGIN {print 1000 / step}')
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
    local rc=$?
    child=""
    return "$rc"
}

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
    local name=$1 count=$2 dir=$out/$1
    shift 2
    mkdir -p "$dir"
    sequences=$((sequences + 1))
    run "$tool" --size "$size" --frames "$count" --step-ms "$step_ms" --every 1 --seed 3 --quick \
        "$@" -o "$dir/f.png" || { echo "FAIL: $name: no frames"; failed=1; return; }
    if run "$checker" --fps "$fps" "$out/black.png" "$dir"/f-*.png >"$dir/verdict"; then
        rm -rf "$dir"
    else
        echo "FAIL: $name flashes:"
        cat "$dir/verdict"
        failed=1
    fi
}

layers=(--particles --overlays)
for i in "${!textures[@]}"; do
    texture=${textures[i]}
    for speed in 0.25 4; do
        # The layers on for even textures at the fastest speed, odd ones at the slowest.
        fastest=0
        [ "$speed" = 4 ] && fastest=1
        on=$(((i % 2 == 0) == fastest))
        if [ "$on" -eq 1 ] || [ -n "$every_pairing" ]; then
            check "$texture-$speed-layers" "$frames" --texture "$texture" --speed "$speed" \
                "${layers[@]}"
        fi
        if [ "$on" -eq 0 ] || [ -n "$every_pairing" ]; then
            check "$texture-$speed" "$frames" --texture "$texture" --speed "$speed"
        fi
    done
    check "new-day-$texture" 180 --texture FLECK --new-texture "60:$texture" --speed 4
done
check monitor-added 180 --monitor-added 60 --speed 4 "${layers[@]}"

# The checker itself refuses what it cannot compare.
"$checker" --fps 0 "$out/black.png" >/dev/null 2>&1
[ $? -eq 2 ] || { echo "FAIL: a frame rate of 0 is taken"; failed=1; }
"$checker" --fps 60 "$out/black.png" "$out/none.png" >/dev/null 2>&1
[ $? -eq 2 ] || { echo "FAIL: a missing frame is taken"; failed=1; }

[ "$failed" -eq 0 ] && echo "ok: no flashes over the limit in $sequences sequences"
exit "$failed"
