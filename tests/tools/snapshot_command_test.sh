#!/bin/sh
# The snapshot tool as a person runs it: same seed, same picture; bad
# options, one line on stderr and exit code 2. Then the lock screen's
# picture command, which is the snapshot of the clock's moment with the
# saved settings.
# Usage: snapshot_command_test.sh SNAPSHOT-TOOL PICTURE-COMMAND OUTPUT-DIR
set -u
tool=$1
picture=$2
out=$3
mkdir -p "$out"
# Pictures of an earlier run would stand in for those this run must write, or not.
find "$out" -maxdepth 1 -type f -name '*.png' -delete
fail() { echo "FAIL: $*"; exit 1; }

"$tool" --size 96x80 --frames 40 --seed 9 -o "$out/a.png" || fail "first render"
"$tool" --size 96x80 --frames 40 --seed 9 -o "$out/b.png" || fail "second render"
"$tool" --size 96x80 --frames 40 --seed 10 -o "$out/c.png" || fail "third render"
cmp -s "$out/a.png" "$out/b.png" || fail "same seed gave different pictures"
cmp -s "$out/a.png" "$out/c.png" && fail "different seeds gave the same picture"
head -c 8 "$out/a.png" | od -An -c | grep -q 'P   N   G' || fail "not a PNG"
# The header's width and height, as big-endian 32-bit numbers.
size() { od -An -tu1 -j16 -N8 "$1" | tr -s ' ' | sed 's/^ //'; }
[ "$(size "$out/a.png")" = "0 0 0 96 0 0 0 80" ] || fail "the picture is not 96x80"

# With no setting given, the picture the saver has always drawn; each
# setting changes it, and one given at its default does not.
[ "$(sha256sum <"$out/a.png" | cut -c1-16)" = e88e5910b289feeb ] || fail "the default picture changed"
for setting in "--texture SMOKE" --stars --particles --overlays "--speed 2"; do
    "$tool" --size 96x80 --frames 40 --seed 9 $setting -o "$out/setting.png" &&
        ! cmp -s "$out/a.png" "$out/setting.png" || fail "$setting does not change the picture"
done
"$tool" --size 96x80 --frames 40 --seed 9 --texture FLECK --speed 1 --no-stars -o "$out/defaults.png" &&
    cmp -s "$out/a.png" "$out/defaults.png" || fail "the default settings given change the picture"

# The same simulated time in fewer, longer steps: the same picture, so
# exactly the frames asked for are run.
"$tool" --size 96x80 --frames 2 --step-ms 10 --seed 9 -o "$out/f2.png" || fail "two frames"
"$tool" --size 96x80 --frames 1 --step-ms 20 --seed 9 -o "$out/f1.png" || fail "one frame"
cmp -s "$out/f1.png" "$out/f2.png" || fail "a frame too many or too few"

# A sequence: every tenth frame, numbered; its pictures are the ones a run
# of that many frames ends with, and the run still ends with its last frame.
rm -f "$out"/seq*.png
"$tool" --size 96x80 --frames 30 --every 10 --seed 9 -o "$out/seq.png" || fail "a sequence"
"$tool" --size 96x80 --frames 10 --seed 9 -o "$out/ten.png" || fail "ten frames"
"$tool" --size 96x80 --frames 30 --seed 9 -o "$out/thirty.png" || fail "thirty frames"
[ "$(ls "$out"/seq-*.png | wc -l)" -eq 3 ] || fail "a sequence of 30 every 10 is not 3 pictures"
cmp -s "$out/seq-000010.png" "$out/ten.png" || fail "frame 10 of a sequence is not the 10th frame"
cmp -s "$out/seq-000030.png" "$out/thirty.png" || fail "the last of a sequence is not the last frame"
cmp -s "$out/seq.png" "$out/thirty.png" || fail "a sequence changed the final picture"
cmp -s "$out/seq-000010.png" "$out/seq-000020.png" && fail "the sequence does not move"
mkdir -p "$out/blocked-000001.png" # a picture of the sequence cannot be written, the last one can
"$tool" --size 8x8 --frames 2 --every 1 -o "$out/blocked.png" 2>"$out/err"
[ $? -eq 1 ] || fail "an unwritable sequence did not exit with 1"
[ "$(cat "$out/err")" = "orbdrift-snapshot: cannot write '$out/blocked-000001.png': Is a directory" ] &&
    [ ! -e "$out/blocked.png" ] || fail "an unwritable sequence went on"

"$tool" --texture-only SMOKE -o "$out/smoke.png" || fail "a texture kind"
[ "$(size "$out/smoke.png")" = "0 0 1 0 0 0 1 0" ] || fail "a texture is not 256x256"
"$tool" --help >"$out/help" && grep -q '^usage: orbdrift-snapshot' "$out/help" ||
    fail "--help shows no usage"
# The settings' part is written by the program, not by hand: broken before 80
# columns, every choice of a row named.
sed -n '/^The saver.s settings/,$p' "$out/help" | awk 'length > 79 { bad = 1 } END { exit bad }' ||
    fail "--help's settings run past 79 columns"
tr -s ' \n' ' ' <"$out/help" | grep -q 'Motion: desktop (as the desktop says) full gentle (default' ||
    fail "--help does not name every motion, each once"
"$tool" --texture-only SPHERE -o "$out/sphere.png" && [ "$(size "$out/sphere.png")" = "0 0 1 0 0 0 1 0" ] ||
    fail "the first texture kind is not a texture"
"$tool" --texture-only SMOKE -o "$out/smoke2.png" && cmp -s "$out/smoke.png" "$out/smoke2.png" ||
    fail "a texture kind is not reproducible"
"$tool" --texture-only SMOKE --seed 3 -o "$out/smoke3.png" && ! cmp -s "$out/smoke.png" "$out/smoke3.png" ||
    fail "a texture kind ignores the seed"
"$tool" --texture-only SMOG -o "$out/smog.png" 2>/dev/null
[ $? -eq 2 ] || fail "an unknown texture kind did not exit with 2"

"$tool" --frames zero -o "$out/d.png" 2>"$out/err"
[ $? -eq 2 ] || fail "bad option did not exit with 2"
[ "$(wc -l <"$out/err")" -eq 1 ] || fail "bad option did not give exactly one line"
[ -e "$out/d.png" ] && fail "bad option still wrote a picture"

"$tool" --size 8x8 --frames 1 -o "$out/missing/dir/e.png" 2>"$out/err"
[ $? -eq 1 ] || fail "an unwritable output did not exit with 1"
grep -q "cannot write" "$out/err" || fail "an unwritable output was not reported"
# No OpenGL to be had (no EGL vendor for the loader): an error, not a blank picture.
__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json "$tool" --size 8x8 -o "$out/g.png" 2>"$out/err"
[ $? -eq 1 ] || fail "no OpenGL did not exit with 1"
grep -q "cannot create an offscreen OpenGL context" "$out/err" || fail "no OpenGL was not reported"

# The picture at a moment of a clock held still: the frame a saver started
# at the last whole ten minutes shows then, at the saved frame rate, with the
# saved settings under the options given. A sanitized build's runtime wants
# to be the first library; the clock's comes before it, which is harmless here.
faketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
[ -r "$faketime" ] || fail "the clock held still needs libfaketime (package faketime)"
export XDG_CONFIG_HOME="$out/config"
mkdir -p "$XDG_CONFIG_HOME/orbdrift"
saved() { printf '[Software\\orbdrift]\n' && printf '%s\n' "$@"; } >"$XDG_CONFIG_HOME/orbdrift/settings"
# at TIME PICTURE [OPTION...]: the picture command at TIME of a UTC day.
at() {
    time=$1 name=$2
    shift 2
    TZ=UTC LD_PRELOAD="$faketime" FAKETIME="2026-12-09 $time" ASAN_OPTIONS=verify_asan_link_order=0 \
        "$picture" --size 96x80 -o "$out/$name.png" "$@" || fail "the picture at $time"
}
# It packs its PNG for speed: the same pixels as the snapshot's, other bytes.
same_pixels() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
moment=$(TZ=UTC date -d "2026-12-09 12:03:30" +%s)
seed=$((moment / 600))
saved Texture=SMOKE FrameRate=50
at 12:03:30 now
"$tool" --size 96x80 --seed $seed --frames $((moment % 600 * 50)) --step-ms 20 --texture SMOKE \
    -o "$out/saver-then.png" || fail "the saver's frame of that moment"
same_pixels "$out/now.png" "$out/saver-then.png" ||
    fail "the picture is not the saver's frame of its moment with the saved settings"
saved Texture=Different LastTexture=SMOKE FrameRate=50
at 12:03:30 last-texture
cmp -s "$out/now.png" "$out/last-texture.png" ||
    fail "a different texture each time does not show the last start's"
at 12:03:30 fleck --texture FLECK
"$tool" --size 96x80 --seed $seed --frames $((moment % 600 * 50)) --step-ms 20 \
    -o "$out/saver-fleck.png" && same_pixels "$out/fleck.png" "$out/saver-fleck.png" ||
    fail "an option given does not win over the saved setting"
at 12:05:00 later
cmp -s "$out/now.png" "$out/later.png" && fail "the picture a minute and a half later is the same"
# A picture that cannot be written whole (a file size limit stops it as a
# full disk would) leaves the one before whole, beside nothing, and says why.
cp "$out/now.png" "$out/kept.png"
(trap '' XFSZ && ulimit -f 1 && exec "$picture" --size 96x80 -o "$out/kept.png") 2>"$out/err"
[ $? -eq 1 ] && cmp -s "$out/now.png" "$out/kept.png" && [ -z "$(ls -A "$out" | grep '^\.')" ] ||
    fail "a picture that could not be written whole did not leave the one before"
[ "$(cat "$out/err")" = "orbdrift-picture: cannot write '$out/kept.png': File too large" ] ||
    fail "a picture that could not be written did not say why"
# A device named, or linked to, is written into and never removed: here one of
# /dev/full's kind, made in the test's own folder, as only root can.
rm -f "$out/full" "$out/full-link"
if [ "$(id -u)" -eq 0 ] && mknod "$out/full" c 1 7 && ln -s full "$out/full-link"; then
    for name in full full-link; do
        "$picture" --size 96x80 -o "$out/$name" 2>"$out/err"
        [ $? -eq 1 ] && [ -c "$out/full" ] && [ -L "$out/full-link" ] ||
            fail "a device that could not take the picture ($name) was removed"
        grep -q ": No space left on device$" "$out/err" || fail "a full device was not said"
    done
    rm -f "$out/full" "$out/full-link"
fi
# Without --size, the size of the screen it is for: the X screen's, else 1920x1080.
. "$(dirname "$0")/../../scripts/private_x.sh"
start_private_x 320x200 || fail "no X server"
env -u WAYLAND_DISPLAY "$picture" -o "$out/x-screen.png"
kill "$xvfb"
env -u WAYLAND_DISPLAY -u DISPLAY "$picture" -o "$out/no-screen.png"
[ "$(size "$out/x-screen.png")" = "0 0 1 64 0 0 0 200" ] &&
    [ "$(size "$out/no-screen.png")" = "0 0 7 128 0 0 4 56" ] ||
    fail "without --size the picture is not the X screen's size, or else 1920x1080"
"$picture" --frames 3 -o "$out/h.png" 2>"$out/err"
[ $? -eq 2 ] && [ ! -e "$out/h.png" ] || fail "the picture command took the snapshot tool's --frames"
"$picture" --help | grep -q '^usage: orbdrift-picture' || fail "the picture command has no usage"
echo "snapshot and picture commands: ok"
