#!/bin/bash
# orbdrift as a person meets it: the real program on a private X server,
# started in each mode, shown, pressed, moved, closed, its exit codes read.
# Usage: saver_end_to_end_test.sh ORBDRIFT X-SCREENSHOT X-HOST X-POST OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" saver shot host post out -- "$@"
export XDG_CONFIG_HOME="$out/config" # the test's own settings, not the person's
start_test_x
xdotool mousemove 320 240

# The GL driver, loaded at run time, must find the program's XGetGeometry
# ahead of Xlib's, or a window destroyed under it measures garbage.
check "the program exports its XGetGeometry" sh -c "nm -D --defined-only '$saver' | grep -qw XGetGeometry"

# Saving mode: the scene fills the screen between black bands, a key ends it.
"$saver" /s &
pid=$!
first=$(window_named "Screen Saver")
check "saving mode shows a window titled Screen Saver" test -n "$first"
check "the middle shows noise, not one colour" eventually shows_noise root 240 100 150 200 250 300 350 400 450 500
"$shot" "$out/saving.png"
# At their thinnest the bands are one row: the top one always keeps row 0,
# while the sphere's strip may reach the bottom row for a moment.
check "the top band is black" black root 320 0
check "the bottom band is black" eventually black root 320 479
middle=$(for x in 100 150 200 250 300 350 400 450 500; do pixel root $x 240; done)
check "the noise is tinted blue" test "$(echo "$middle" | awk '{r += $1; b += $3} END {print (b > r)}')" = 1

# A second saver finds the first, brings it to the front and ends at once.
timeout 10 "$saver" /s
check "a second saver ends with 0" test $? -eq 0
check "the first saver keeps running" still_running "$pid"
check "the first saver stays in front" test "$(xdotool getwindowfocus 2>/dev/null)" = "$first"

# Another client forges messages at the window: a timer tick naming an
# address, creation, destruction, help with a pointer, a private message.
for forged in "0x0113 1 0x41414141" "0x0001 0 0x41414141" "0x0002 0 0" "0x0053 0 0x41414141" \
    "0x8000 0x41414141 0x41414141"; do
    "$post" "$first" $forged
done
sleep 0.5
check "forged messages leave the saver running" still_running "$pid"

xdotool key a
wait_exit "$pid"
check "a key press ends saving with 0" test "$rc" = 0

# A session, a daemon or a terminal ends it with a signal: cleanly, with 0.
# The waits below are printed, not bounded tightly: a loaded machine may
# delay any process, and only a hang is a fault here.
for signal in TERM INT HUP; do
    "$saver" /s &
    pid=$!
    window_named "Screen Saver" >/dev/null
    kill -"$signal" "$pid"
    wait_exit "$pid" 30
    check "SIG$signal ends saving with 0 (after ${waited_ms:-} ms)" test "$rc" = 0
done

# The mouse may move 4 pixels; the fifth ends it.
"$saver" /s &
pid=$!
window_named "Screen Saver" >/dev/null
sleep 0.5
xdotool mousemove_relative -- 2 2
sleep 0.5
check "a 4-pixel move does not end saving" still_running "$pid"
xdotool mousemove_relative -- 1 0
wait_exit "$pid"
check "a 5-pixel move ends saving with 0" test "$rc" = 0

# Preview: drawn inside a host window, ended by the host.
coproc HOST { "$host"; }
read -r -t 10 host_window <&"${HOST[0]}"
"$saver" /p "$host_window" &
pid=$!
check "the preview draws inside the host window" eventually shows "$host_window" 100 75
"$shot" "$out/preview.png" "$host_window"
xdotool key a
sleep 0.3
check "no key ends a preview" still_running "$pid"
eval "exec ${HOST[1]}>&-"
wait_exit "$pid" 30
check "the preview ends with 0 when its host goes (exit $rc after ${waited_ms:-} ms)" test "$rc" = 0

# Configuration: a dialog; Return is OK (1), Escape and Alt+F4 are Cancel (0).
for answer in "Return 1" "Escape 0" "alt+F4 0"; do
    set -- $answer
    "$saver" /c &
    pid=$!
    dialog=$(window_named orbdrift)
    [ "$1" = Return ] && "$shot" "$out/dialog.png" "$dialog"
    xdotool key "$1"
    wait_exit "$pid"
    check "the dialog answered with $1 ends with $2" test "$rc" = "$2"
done

# Settings, chosen with the keys alone: up the texture list to SMOKE, Tab
# on through the boxes and lists, Space, Down, Enter; then again from what
# was saved. Particles is ticked the first time and unticked the second, the
# monitors list changed the second and Overlays never, so that a control tied
# to another's setting shows; the stars, which the dialog does not offer, stay
# as they were. Saving mode then draws with them.
rm -rf "$XDG_CONFIG_HOME"
check "the default picture is noise" rough "$out/saving.png"
for run in "Up Up Up Up Up Up Up Tab space Tab Tab Down Tab Down Tab Return/Particles=1 \
EachMonitor=0" "Tab space Tab Tab Tab Tab Down Return/Particles=0 EachMonitor=1"; do
    "$saver" /c &
    pid=$!
    window_named orbdrift >/dev/null
    xdotool key ${run%/*}
    wait_exit "$pid"
    check "the settings are saved with OK (exit $rc)" test "$rc" = 1
    saved="Texture=SMOKE Stars=0 Overlays=0 Speed=200 FrameRate=60 ${run#*/}"
    check "the file holds $saved" \
        test "$(printf '%s\n' $saved | grep -cxFf - "$XDG_CONFIG_HOME/orbdrift/settings")" = 7
done
"$saver" /s &
pid=$!
window_named "Screen Saver" >/dev/null
check "saving mode draws the saved texture" eventually shot_is smooth root "$out/settings.png"
xdotool key a
wait_exit "$pid"
check "and still ends on a key with 0" test "$rc" = 0

# Switches that mean nothing here end at once with -1.
for tail in "/x" "/p" "/p 99999999" "/a 1"; do
    timeout 10 "$saver" $tail
    check "'$tail' ends with -1" test $? -eq 255
done
timeout 10 bash -c 'exec -a "" "$0" /x' "$saver"
check "an empty program name does not swallow '/x'" test $? -eq 255
# In a Wayland session without X too: a Windows switch is not the Wayland mode.
env -u DISPLAY WAYLAND_DISPLAY=wayland-nowhere "$saver" /s 2>"$out/no-display.txt"
check "without a display saving ends with -1" test $? -eq 255
check "and says why, in one line" test "$(grep -c "cannot open the X display" "$out/no-display.txt")" = 1 -a \
    "$(wc -l <"$out/no-display.txt")" = 1

# Two monitors side by side on one 1280 x 480 screen, the right one the
# main one: one picture across both by default, one on each with the
# setting, the two halves alike, or one on the main monitor beside black.
kill "$xvfb"
wait "$xvfb" 2>/dev/null
start_test_x 1280x480
two_monitors() {
    xrandr --setmonitor left 640/169x480/127+0+0 screen >/dev/null &&
        xrandr --setmonitor '*right' 640/169x480/127+640+0 none >/dev/null
}
two_monitors
xrandr --newmode small 0 640 0 0 0 480 0 0 0 && xrandr --addmode screen small
check "the screen is two monitors" test "$(xrandr --listmonitors | head -1)" = "Monitors: 2"
# The halves of a screenshot alike but for rounding (GL places a viewport
# 640 pixels over a little differently), each with its own bands.
pictures_alike() {
    "$shot" "$1" && [ "$(compare -metric AE "$1[640x480+0+0]" "$1[640x480+640+0]" null: 2>&1)" -lt 10000 ] &&
        black root 320 0 && black root 960 0 && black root 320 479 && black root 960 479
}
one_across() {
    "$shot" "$1" && [ "$(compare -metric AE "$1[640x480+0+0]" "$1[640x480+640+0]" null: 2>&1)" -gt 50000 ]
}
main_only() {
    "$shot" "$1" && [ "$(convert "$1" -crop 640x480+0+0 -format '%[max]' info:)" = 0 ] &&
        shows_noise root 240 700 800 900 1000 1100
}
left_bottom_black() { "$shot" "$1" && [ "$(convert "$1" -crop 640x240+0+240 -format '%[max]' info:)" = 0 ]; }
saver_width() { [ "$(xdotool getwindowgeometry "$(window_named "Screen Saver")" | grep -c "Geometry: $1")" = 1 ]; }
for each in 0 1 2; do
    mkdir -p "$XDG_CONFIG_HOME/orbdrift"
    printf '[Software\\orbdrift]\nEachMonitor=%s\n' "$each" >"$XDG_CONFIG_HOME/orbdrift/settings"
    "$saver" /s &
    pid=$!
    window_named "Screen Saver" >/dev/null
    eventually shows_noise root 240 700 800 900 1000 1100
    case $each in
    0) check "by default one picture spans both" one_across "$out/monitors-0.png" ;;
    1)
        check "each monitor shows the whole picture, alike on both" eventually pictures_alike "$out/monitors-1.png"
        # Monitors that go, a screen that shrinks and grows again, monitors
        # that come back, while it saves.
        xrandr --delmonitor left >/dev/null && xrandr --delmonitor right >/dev/null
        check "with the monitors gone, one picture spans the screen" eventually one_across "$out/monitors-gone.png"
        xrandr --output screen --mode small
        check "the saver window follows a smaller screen" eventually saver_width 640x480
        check "with its picture's bands at its new edges" eventually black root 320 479
        xrandr --output screen --mode 1280x480 && two_monitors
        check "and a larger one" eventually saver_width 1280x480
        check "monitors that come back have a picture each again" eventually pictures_alike "$out/monitors-back.png"
        xrandr --delmonitor left >/dev/null && xrandr --setmonitor left 640/169x240/127+0+0 screen >/dev/null
        check "a monitor that shrinks leaves black where it was" eventually left_bottom_black "$out/monitors-shrunk.png"
        ;;
    2) check "the main monitor alone shows the picture, the other is black" eventually main_only "$out/monitors-2.png" ;;
    esac
    check "still saving" still_running "$pid"
    xdotool key a
    wait_exit "$pid"
    check "a key ends it with 0" test "$rc" = 0
done

# Without GLX there is nothing to draw with, but it still saves and ends.
kill "$xvfb"
wait "$xvfb" 2>/dev/null
start_test_x 640x480 -extension GLX
"$saver" /s &
pid=$!
window_named "Screen Saver" >/dev/null
sleep 0.5
check "without GLX saving still runs" still_running "$pid"
xdotool key a
wait_exit "$pid"
check "and a key ends it with 0" test "$rc" = 0

# The X server goes away under a running saver.
"$saver" /s 2>"$out/lost-server.txt" &
pid=$!
window_named "Screen Saver" >/dev/null
{ kill -9 "$xvfb" && wait "$xvfb"; } 2>/dev/null
wait_exit "$pid" 30
check "a lost X server ends saving, not with 0 (after ${waited_ms:-} ms)" test "$rc" != 0 -a "$rc" != timeout
check "and says so" grep -q "lost the connection to the X display" "$out/lost-server.txt"

report
