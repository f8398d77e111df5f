#!/bin/bash
# orbdrift on Wayland, headless and as a scratch user: on sway's two outputs
# through layer-shell, one of them at scale 2, following an output that goes,
# ended by SIGTERM or by the compositor going; on weston, which has no
# layer-shell, in a full-screen window.
# Usage: wayland_test.sh ORBDRIFT OUTPUT-DIR
set -u
out=$2
rm -rf "$out"
mkdir -p "$out"
out=$(realpath "$out")
. "$(dirname "$0")/../support/end_to_end_checks.sh"
. "$(dirname "$0")/../support/wayland_session.sh"
start_wayland_user "$1"

# black_at PICTURE X Y, as a compositor's screenshot has it.
black_at() { [ "$(convert "$1" 2>/dev/null -format "%[fx:int(255*(p{$2,$3}.r+p{$2,$3}.g+p{$2,$3}.b))]" info:)" = 0 ]; }
# A screenshot of one of sway's outputs: its pixel size, its bands, its noise.
output_shows() {
    as_user grim -o "$1" "$home/$1.png" 2>/dev/null && cp "$home/$1.png" "$out/" &&
        [ "$(identify -format '%wx%h' "$out/$1.png")" = 640x480 ] &&
        black_at "$out/$1.png" 320 0 && rough "$out/$1.png"
}

check "sway starts" start_sway
user_command
"${run_as[@]}" "$program" --wayland 2>"$out/sway-saver.txt" &
pid=$!
for output in HEADLESS-1 HEADLESS-2; do
    check "draws on $output at its size, 640 x 480 pixels, with bands and noise" \
        eventually output_shows "$output"
    check "and the bottom band of $output" eventually black_at "$out/$output.png" 320 479
done
swaymsg_as_user output HEADLESS-2 disable >/dev/null
sleep 0.5
check "an output that goes leaves it running" still_running "$pid"
check "on the other output" eventually output_shows HEADLESS-1
kill -TERM "$pid"
wait_exit "$pid" 30
check "SIGTERM ends it with 0 (exit $rc)" test "$rc" = 0
check "having said nothing" test ! -s "$out/sway-saver.txt"

as_user "$program" --wayland --output NOPE 2>"$out/no-output.txt"
check "an output that is not there ends it with 1, saying so" \
    test $? -eq 1 -a "$(cat "$out/no-output.txt")" = "orbdrift: the compositor has no output named NOPE"

user_command
"${run_as[@]}" "$program" --wayland --speed 2 2>"$out/lost.txt" &
pid=$!
eventually output_shows HEADLESS-1
{ kill -KILL "$compositor" && wait "$compositor"; } 2>/dev/null
wait_exit "$pid" 100
check "the compositor going ends it with 1 (exit $rc)" test "$rc" = 1
check "within 3 s (${waited_ms:-} ms)" test "${waited_ms:-99999}" -le 3000
check "saying so" grep -q "lost the connection to the Wayland compositor" "$out/lost.txt"

# weston: no layer-shell, so a full-screen window.
check "weston starts" start_weston
user_command
"${run_as[@]}" "$program" --wayland 2>"$out/weston-saver.txt" &
pid=$!
# The screenshot keeps the buffer's unused alpha byte as alpha: over black
# it is the picture the compositor shows.
weston_shows() {
    rm -f "$home"/wayland-screenshot-*.png
    (cd "$home" && as_user weston-screenshooter 2>/dev/null) &&
        convert "$home"/wayland-screenshot-*.png -background black -alpha remove "$out/weston.png" &&
        black_at "$out/weston.png" 320 0 && rough "$out/weston.png"
}
check "weston shows the picture full screen" eventually weston_shows
check "having said in one line that there is no layer-shell" \
    test "$(grep -c "offers no layer-shell" "$out/weston-saver.txt")" = 1 -a \
    "$(wc -l <"$out/weston-saver.txt")" = 1
kill -TERM "$pid"
wait_exit "$pid" 30
check "SIGTERM ends it with 0 (exit $rc)" test "$rc" = 0
report
