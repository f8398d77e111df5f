#!/bin/bash
# orbdrift as the wallpaper of a Wayland session, on a headless sway as a
# scratch user: on the background layer of both outputs, drawn only when sway
# asks, so an output under a full-screen window gets no pictures; clicks go
# through it; signals end it with 0, the compositor going with 1. weston has
# no layer-shell, so no wallpaper.
# Usage: wallpaper_wayland_test.sh ORBDRIFT OUTPUT-DIR
set -u
out=$2
rm -rf "$out"
mkdir -p "$out"
out=$(realpath "$out")
. "$(dirname "$0")/../support/end_to_end_checks.sh"
. "$(dirname "$0")/../support/wayland_session.sh"
. "$(dirname "$0")/../support/wayland_pictures.sh"
start_wayland_user "$1"

# The pictures each output's surface commits, read from the protocol's log.
log=$out/protocol.txt
surface_on() {
    local output
    output=$(sed -n "s/.*wl_output@\([0-9]*\)\.name(\"$1\").*/\1/p" "$log" | head -1)
    [ -n "$output" ] && sed -n "s/.*get_layer_surface(new id [^,]*, wl_surface@\([0-9]*\), wl_output@$output, 0,.*/\1/p" "$log" | head -1
}
pictures() { grep -c "wl_surface@$1\.commit" "$log"; }
pictures_in_a_second() {
    local before
    before=$(pictures "$1")
    sleep 1
    echo $(($(pictures "$1") - before))
}
draws_on() { [ "$(pictures_in_a_second "$1")" -ge 5 ]; }
stopped_on() { [ "$(pictures_in_a_second "$1")" = 0 ]; }
# full_screen_terminal OUTPUT: a terminal full-screen on that output; its pid in $!.
full_screen_terminal() {
    swaymsg_as_user focus output "$1" >/dev/null
    "${run_as[@]}" weston-terminal --fullscreen 2>/dev/null &
}

check "sway starts" start_sway
user_command
"${run_as[@]}" WAYLAND_DEBUG=1 DISPLAY=:nowhere "$program" --wallpaper 2>"$log" &
pid=$!
for output in HEADLESS-1 HEADLESS-2; do
    check "with no window open, the picture is on $output" eventually output_shows "$output"
done
first=$(surface_on HEADLESS-1)
second=$(surface_on HEADLESS-2)
check "each on a background surface that takes no input" \
    test "$(grep -c 'get_layer_surface(.*, 0, "orbdrift")' "$log")" = 2 -a \
    "$(grep -c 'set_input_region(wl_region@' "$log")" = 2
check "drawn on HEADLESS-1 ($first)" eventually draws_on "$first"
check "by a process named orbdrift-wall, which an idle daemon's pkill -x orbdrift leaves" \
    test "$(cat "/proc/$pid/comm")" = orbdrift-wall

swaymsg_as_user seat seat0 cursor set 320 240 >/dev/null
swaymsg_as_user seat seat0 cursor press button1 >/dev/null
swaymsg_as_user seat seat0 cursor release button1 >/dev/null
sleep 0.3
check "a click does not end it" still_running "$pid"

full_screen_terminal HEADLESS-1
one=$!
check "a full-screen window over HEADLESS-1 stops the pictures there" eventually stopped_on "$first"
check "while HEADLESS-2 still gets them" draws_on "$second"
full_screen_terminal HEADLESS-2
two=$!
check "and one over HEADLESS-2 there too" eventually stopped_on "$second"
share=$(cpu_share "$pid" 5)
check "every output covered, it takes $share % of a core, under 2" below "$share" 2
kill "$one" "$two"
wait "$one" "$two" 2>/dev/null
for output in HEADLESS-1 HEADLESS-2; do
    check "the windows closed, the picture is back on $output" eventually output_drawn "$output"
done
cp "$out/HEADLESS-1.png" "$out/wallpaper.png"
# Not the last picture kept from before: new ones.
for surface in "$first" "$second"; do
    check "drawn again ($surface)" eventually draws_on "$surface"
done

for signal in TERM INT HUP; do
    [ "$signal" = TERM ] || { "${run_as[@]}" "$program" --wallpaper 2>/dev/null & pid=$!; }
    eventually output_shows HEADLESS-1
    kill -s "$signal" "$pid"
    wait_exit "$pid" 30
    check "SIG$signal ends it with 0 (exit $rc)" test "$rc" = 0
done

as_user "$program" --wallpaper --output NOPE 2>"$out/no-output.txt"
check "an output that is not there ends it with 1" test $? -eq 1

"${run_as[@]}" "$program" --wallpaper 2>"$out/lost.txt" &
pid=$!
eventually output_shows HEADLESS-1
{ kill -KILL "$compositor" && wait "$compositor"; } 2>/dev/null
wait_exit "$pid" 100
check "the compositor going ends it with 1 (exit $rc)" test "$rc" = 1

check "weston starts" start_weston
as_user "$program" --wallpaper 2>"$out/weston.txt"
check "on weston, without layer-shell, it ends with 1, saying why" \
    test $? -eq 1 -a "$(cat "$out/weston.txt")" = \
    "orbdrift: the compositor offers no layer-shell, which a wallpaper needs"
report
