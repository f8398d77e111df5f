#!/bin/bash
# orbdrift as an X session's wallpaper: a window of the desktop's kind under
# the others, letting clicks through, drawing nothing while a window covers it
# or the focused window is full-screen over it, and again once it is seen.
# Usage: wallpaper_x_test.sh ORBDRIFT X-SCREENSHOT X-HOST OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" saver shot host out -- "$@"
export XDG_CONFIG_HOME="$out/config" # the test's own settings, not the person's
unset WAYLAND_DISPLAY # on X, also from a terminal of a Wayland session
start_test_x 1280x480 # room for a monitor to come beside the first
xrandr --newmode small 0 640 0 0 0 480 0 0 0 && xrandr --addmode screen small && xrandr --output screen --mode small
# Two screenshots of the screen, or of an area (WxH+X+Y), a fifth of a second apart differ.
moving() {
    "$shot" "$out/a.png" && sleep 0.2 && "$shot" "$out/b.png" &&
        ! compare -metric AE "$out/a.png${1:+[$1]}" "$out/b.png${1:+[$1]}" null: 2>/dev/null
}
still() { ! moving "$@"; }
left=640x480+0+0
right=640x480+640+0

coproc HOST { "$host"; } # a window there before the wallpaper
read -r -t 10 normal <&"${HOST[0]}"
"$saver" --wallpaper 2>"$out/saver.txt" &
pid=$!
wallpaper=$(window_named orbdrift)
check "a window of the desktop's kind" test "$(xprop -id "$wallpaper" | grep -cxF \
    -e "_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_DESKTOP" -e "_NET_WM_DESKTOP(CARDINAL) = 4294967295" \
    -e "_NET_WM_STATE(ATOM) = _NET_WM_STATE_BELOW, _NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_SKIP_PAGER" \
    -e "		Client accepts input or input focus: False")" = 4
# xwininfo lists the root's children from the top down.
check "under the window that was there first" \
    test "$(xwininfo -root -children | awk '/^ +0x/ {print $1}' | tail -1)" = "$(printf '0x%x' "$wallpaper")"
check "drawing" eventually moving
xdotool mousemove 400 300 click 1 key a
check "the pointer over it is over the root window, and a click or a key does not end it" \
    test "$(xdotool getmouselocation | sed 's/.*window://')" = "$(xdotool search --maxdepth 0 '' 2>/dev/null)" -a \
    -e "/proc/$pid"

xdotool windowmove "$normal" 0 0 windowsize "$normal" 640 480
sleep 0.5
share=$(cpu_share "$pid" 5)
check "covered by a window, it takes $share % of a core, under 2" below "$share" 2
xdotool windowunmap "$normal"
check "uncovered, it draws again" eventually moving
# Under a compositing manager the server counts every window as seen; the
# focused window full-screen over it is the sign. Unmapped, it covers nothing.
xprop -id "$normal" -f _NET_WM_STATE 32a -set _NET_WM_STATE _NET_WM_STATE_FULLSCREEN
xprop -root -f _NET_ACTIVE_WINDOW 32x -set _NET_ACTIVE_WINDOW "$normal"
check "the focused window full-screen over it, it draws nothing" eventually still
xprop -id "$normal" -remove _NET_WM_STATE
check "no longer full-screen, it draws" eventually moving
xdotool windowsize "$normal" 320 480
xprop -id "$normal" -f _NET_WM_STATE 32a -set _NET_WM_STATE _NET_WM_STATE_FULLSCREEN
check "full-screen over half of it, it draws" eventually moving
xdotool windowsize "$normal" 640 480
check "over all of it again, it stops" eventually still
xrandr --output screen --mode 1280x480 && xrandr --setmonitor left 640/169x480/127+0+0 screen &&
    xrandr --setmonitor right 640/169x480/127+640+0 none >/dev/null
check "a monitor added beside the full-screen window: it draws" eventually moving
xdotool windowmove "$normal" 640 0
check "full-screen over the other monitor, it draws only the first" eventually eval 'still $right && moving $left'
xdotool windowmove "$normal" 0 0 windowsize "$normal" 1280 480
check "over both, it stops" eventually still
# Without a compositing manager, a window stacked over a monitor hides it.
xprop -id "$normal" -remove _NET_WM_STATE
xdotool windowmove "$normal" 640 0 windowsize "$normal" 640 480 windowmap "$normal"
check "a window over the second monitor, it draws only the first" eventually eval 'still $right && moving $left'
eval "exec ${HOST[1]}>&-"
check "that window destroyed while still named the focused one, it draws both" \
    eventually eval 'moving $right && moving $left'

kill -TERM "$pid"
wait_exit "$pid" 30
check "SIGTERM ends it with 0, having said nothing (exit $rc)" test "$rc" = 0 -a ! -s "$out/saver.txt"
"$saver" --wallpaper --output DP-1 2>/dev/null
check "--output, which names a Wayland output, ends it with 2 on X" test $? -eq 2
report
