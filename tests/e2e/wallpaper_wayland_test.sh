#!/bin/bash
# orbdrift as a Wayland session's wallpaper, on a headless sway as a scratch
# user: on the background layer of both outputs, taking no input, drawn only
# when sway asks, so that an output under a full-screen window gets no
# pictures; weston has no layer-shell, so no wallpaper.
# Usage: wallpaper_wayland_test.sh ORBDRIFT OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" saver out -- "$@"
. "$(dirname "$0")/../support/wayland_session.sh"
. "$(dirname "$0")/../support/wayland_pictures.sh"
start_wayland_user "$saver"

# The pictures the surface on an output commits, from the protocol's log:
# the wallpaper's surface on the background layer (0), in its own namespace.
log=$out/protocol.txt
surface_on() {
    local output
    output=$(sed -n "s/.*wl_output@\([0-9]*\)\.name(\"$1\").*/\1/p" "$log" | head -1)
    sed -n "s/.*get_layer_surface(new id [^,]*, wl_surface@\([0-9]*\), wl_output@$output, 0, \"orbdrift-wallpaper\").*/\1/p" "$log"
}
pictures_in_a_second() {
    local before
    before=$(grep -c "wl_surface@$1\.commit" "$log")
    sleep 1
    echo $(($(grep -c "wl_surface@$1\.commit" "$log") - before))
}
draws_on() { [ "$(pictures_in_a_second "$1")" -ge 5 ]; }
stopped_on() { [ "$(pictures_in_a_second "$1")" = 0 ]; }
full_screen_window_on() {
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
check "on two background surfaces ($first, $second) without input" \
    test -n "$first" -a -n "$second" -a "$(grep -c 'set_input_region(wl_region@' "$log")" = 2
check "by a process named orbdrift-wall, which an idle daemon's pkill -x orbdrift leaves" \
    test "$(cat "/proc/$pid/comm")" = orbdrift-wall

full_screen_window_on HEADLESS-1
one=$!
check "a full-screen window over HEADLESS-1 stops the pictures there" eventually stopped_on "$first"
check "while HEADLESS-2 still gets them" draws_on "$second"
full_screen_window_on HEADLESS-2
two=$!
check "and one over HEADLESS-2 there too" eventually stopped_on "$second"
share=$(cpu_share "$pid" 5)
check "every output covered, it takes $share % of a core, under 2" below "$share" 2
kill "$one" "$two"
wait "$one" "$two" 2>/dev/null
for surface in "$first" "$second"; do # new pictures, not the last one kept
    check "the windows closed, it draws again ($surface)" eventually draws_on "$surface"
done
kill -TERM "$pid"
wait_exit "$pid" 30
check "SIGTERM ends it with 0 (exit $rc)" test "$rc" = 0
"${run_as[@]}" WAYLAND_DEBUG=1 DISPLAY=:nowhere "$program" --wallpaper --layer bottom --output HEADLESS-2 2>"$log" &
pid=$!
check "--layer bottom: one surface on the bottom layer (1), and the picture shows" eventually eval \
    'grep -q "get_layer_surface(.*, 1, \"orbdrift-wallpaper\")" "$log" && output_shows HEADLESS-2'
kill -TERM "$pid"
wait_exit "$pid" 30

kill "$compositor" && wait "$compositor" 2>/dev/null

# The README's lines for sway at the end of Debian's own config, whose
# "output * bg" starts a background client: shot once that has been there
# a while, 5 s or more after start.
readme_lines=$(awk '/^## /{part=$0} part=="## As a wallpaper" && /With sway/{sway=1}
    sway && /^```/{fences++; next} fences==1' "$(dirname "$0")/../../README.md")
started=$SECONDS
check "sway starts with Debian's config and the README's lines" \
    start_sway 1 "$(cat /etc/sway/config)"$'\n'"${readme_lines//\/usr\/libexec\/xscreensaver\/orbdrift/$program}"
user_command
middle() { as_user grim -o HEADLESS-1 "$home/default.png" && cp "$home/default.png" "$out/" &&
    convert "$out/default.png" -gravity center -crop 50%x20%+0+0 +repage "$out/middle.png" &&
    rough "$out/middle.png"; }
check "the wallpaper shows" eventually middle
# The background client may start after the wallpaper shows: asked for each time.
settled() {
    local background
    background=$(pgrep -n -u "$wayland_user" -x swaybg) &&
        [ "$(ps -o etimes= -p "$background")" -ge 3 ] && [ $((SECONDS - started)) -ge 5 ]
}
check "and still shows over the background client, settled" eval 'eventually settled && middle'
kill "$compositor" && wait "$compositor" 2>/dev/null
check "weston starts" start_weston
as_user "$program" --wallpaper 2>"$out/weston.txt"
check "on weston, without layer-shell, it ends with 1, saying why" test $? -eq 1 -a \
    "$(cat "$out/weston.txt")" = "orbdrift: the compositor offers no layer-shell, which a wallpaper needs"
report
