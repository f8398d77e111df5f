#!/bin/bash
# orbdrift as the wallpaper of an X session: a window of the desktop's kind
# under every other, letting input through to the desktop, drawing nothing
# while a window covers it or the focused window is full-screen over it, and
# drawing again once it can be seen; SIGTERM, SIGINT and SIGHUP end it with 0.
# Usage: wallpaper_x_test.sh ORBDRIFT X-SCREENSHOT X-HOST OUTPUT-DIR
set -u
saver=$1
shot=$2
host=$3
out=$4
mkdir -p "$out"
export XDG_CONFIG_HOME="$out/config"
rm -rf "$XDG_CONFIG_HOME"
unset WAYLAND_DISPLAY # on X, also from a terminal of a Wayland session
. "$(dirname "$0")/../support/end_to_end_checks.sh"
start_test_x

# moving: two screenshots of the screen a fifth of a second apart differ.
moving() {
    "$shot" "$out/before.png" && sleep 0.2 && "$shot" "$out/after.png" &&
        ! cmp -s "$out/before.png" "$out/after.png"
}
still() { ! moving; }
hex() { printf '0x%x' "$1"; }

# A window that is there before the wallpaper starts.
coproc HOST { "$host"; }
read -r -t 10 normal <&"${HOST[0]}"
"$saver" --wallpaper 2>"$out/saver.txt" &
pid=$!
wallpaper=$(window_named orbdrift)
check "--wallpaper makes a window" test -n "$wallpaper"
xprop -id "$wallpaper" >"$out/properties.txt"
for line in "_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_DESKTOP" \
    "_NET_WM_STATE(ATOM) = _NET_WM_STATE_BELOW, _NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_SKIP_PAGER" \
    "_NET_WM_DESKTOP(CARDINAL) = 4294967295" \
    "		Client accepts input or input focus: False"; do
    check "of the desktop's kind: $line" grep -qxF "$line" "$out/properties.txt"
done
# xwininfo lists the root's children from the top down.
check "under the window that was there first" \
    test "$(xwininfo -root -children | awk '/^ +0x/ {print $1}' | tail -1)" = "$(hex "$wallpaper")"
check "it draws over the screen" eventually shows_noise root 240 300 350 400 450 500 550 600
"$shot" "$out/wallpaper.png"
check "and keeps drawing" moving

xdotool mousemove 400 300
root=$(printf '%d' "$(xwininfo -root | awk '/Window id:/ {print $4}')")
check "the pointer over it is over the root window, whose clicks are the desktop's" \
    test "$(xdotool getmouselocation | sed 's/.*window://')" = "$root"
xdotool click 1 key a
sleep 0.3
check "input does not end it" still_running "$pid"

# Covered whole by a window, the server says it cannot be seen.
xdotool windowmove "$normal" 0 0 windowsize "$normal" 640 480
sleep 0.5
share=$(cpu_share "$pid" 5)
check "covered by a window, it takes $share % of a core, under 2" below "$share" 2
xdotool windowunmap "$normal"
check "uncovered, it draws again" eventually moving

# Under a compositing manager the server says every window is seen; the
# focused window, full-screen over it, is the sign. Unmapped, that window
# covers nothing, so any picture would show.
xprop -id "$normal" -f _NET_WM_STATE 32a -set _NET_WM_STATE _NET_WM_STATE_FULLSCREEN
xprop -root -f _NET_ACTIVE_WINDOW 32x -set _NET_ACTIVE_WINDOW "$normal"
check "the focused window full-screen over it, it draws nothing" eventually still
share=$(cpu_share "$pid" 5)
check "and takes $share % of a core, under 2" below "$share" 2
xdotool windowsize "$normal" 320 480
check "over half the screen only, it draws" eventually moving
xdotool windowsize "$normal" 640 480
check "over the whole again, it stops" eventually still
xprop -id "$normal" -remove _NET_WM_STATE
check "no longer full-screen, it draws" eventually moving
eval "exec ${HOST[1]}>&-"

kill -TERM "$pid"
wait_exit "$pid" 30
check "SIGTERM ends it with 0 (exit $rc)" test "$rc" = 0
check "having said nothing" test ! -s "$out/saver.txt"
for signal in INT HUP; do
    "$saver" --wallpaper &
    pid=$!
    window_named orbdrift >/dev/null
    kill -s "$signal" "$pid"
    wait_exit "$pid" 30
    check "SIG$signal ends it with 0 (exit $rc)" test "$rc" = 0
done

"$saver" --wallpaper --output DP-1 2>"$out/output.txt"
check "--output, which names a Wayland output, ends it with 2 on X" \
    test $? -eq 2 -a "$(head -1 "$out/output.txt")" = \
    "orbdrift: --output names a Wayland output; on X the wallpaper covers the screen"

"$saver" --wallpaper 2>"$out/lost.txt" &
pid=$!
window_named orbdrift >/dev/null
kill "$xvfb"
wait "$xvfb" 2>/dev/null
wait_exit "$pid" 30
check "the X server going ends it with 1 (exit $rc)" test "$rc" = 1
report
