#!/bin/bash
# The Windows screen saver for real, under Wine on a private X server with a
# fresh Wine prefix: each mode started as the Windows settings page starts it.
# Usage: wine_end_to_end_test.sh ORBDRIFT.SCR PREVIEW-HOST.EXE X-SCREENSHOT OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" saver host shot out -- "$@"
# Without a window manager, keys reach only the window that has the focus.
press() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    xdotool key "$2"
}

. "$(dirname "$0")/../support/wine_prefix.sh"
start_wine "$out"

# Saving mode: full screen, bands and noise; a second saver defers to it.
wine "$saver" /s &
pid=$!
first=$(window_named "Screen Saver")
sleep 2
"$shot" "$out/saving.png"
check "saving mode shows a window titled Screen Saver" test -n "$first"
check "the top band is black" eventually black root 320 2
check "the bottom band is black" eventually black root 320 477
middle=$(for x in 100 150 200 250 300 350 400 450 500; do pixel root $x 240; done)
check "the middle shows noise" test "$(echo "$middle" | sort -u | wc -l)" -ge 5
# Declared DPI-aware, so scaled displays get their real resolution; the
# window must still cover the whole screen.
check "the .scr declares per-monitor DPI awareness" grep -q "PerMonitorV2" "$saver"
geometry=$(xdotool getwindowgeometry --shell "$first" | grep -E '^(WIDTH|HEIGHT)=' | tr '\n' ' ')
check "saving mode covers the whole screen ($geometry)" test "$geometry" = "WIDTH=640 HEIGHT=480 "
timeout 30 wine "$saver" /s
check "a second saver ends with 0" test $? -eq 0
check "the first saver keeps running" kill -0 "$pid"
press "$first" a
wait_exit "$pid"
check "a key press ends saving with 0" test "$rc" = 0
# On a mode of 30 Hz, as Windows reports it, the first frame is one refresh
# (33.3 ms) away: the timer is set to 33 ms, and later ticks to 33 or 34.
xrandr --newmode orbdrift-30hz 12.59 640 656 752 800 480 490 492 525 &&
    xrandr --addmode screen orbdrift-30hz && xrandr --output screen --mode orbdrift-30hz
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d user32.SetTimer /f >/dev/null 2>&1
WINEDEBUG=+relay wine "$saver" /s 2>"$out/timer.txt" &
pid=$!
check "on a 30 Hz mode the frame timer is 33 ms" \
    eventually grep -q 'Call user32.SetTimer([0-9a-f]*,00000001,00000021,' "$out/timer.txt"
press "$(window_named "Screen Saver")" a
wait_exit "$pid"
xrandr --output screen --mode 640x480

# Configuration: the dialog of the resources; Return is OK, Escape Cancel.
for answer in "Return 1" "Escape 0"; do
    set -- $answer
    wine "$saver" /c &
    pid=$!
    dialog=$(window_named orbdrift)
    [ "$1" = Return ] && "$shot" "$out/dialog.png" "$dialog"
    press "$dialog" "$1"
    wait_exit "$pid"
    check "the dialog answered with $1 ends with $2" test "$rc" = "$2"
done

# Settings live in the registry: /c saves them with the keys alone (Tab past
# the two boxes to the speed, Down to twice, Enter), and a value set with reg
# add changes what saving mode draws.
wine "$saver" /c &
pid=$!
xdotool windowfocus --sync "$(window_named orbdrift)" 2>/dev/null
xdotool key Tab Tab Tab Down Return
wait_exit "$pid"
check "the settings are saved with OK (exit $rc)" test "$rc" = 1
check "and the registry holds the speed twice normal" \
    test "$(wine reg query 'HKCU\Software\orbdrift' /v Speed | grep -c 'REG_DWORD *0xc8')" = 1
check "the saved noise is rough" rough "$out/saving.png"
wine reg add 'HKCU\Software\orbdrift' /v Texture /d SMOKE /f >/dev/null 2>&1
wine "$saver" /s &
pid=$!
first=$(window_named "Screen Saver")
check "a texture set with reg add is what saving mode draws" \
    eventually shot_is smooth root "$out/smoke.png"
press "$first" a
wait_exit "$pid"
wine reg delete 'HKCU\Software\orbdrift' /f >/dev/null 2>&1

# The X window Wine renders a 200 x 150 GL child window into, in $drawable
# once there is one: Wine does not place it inside a parent window that
# belongs to another process, so the preview is read from there rather than
# from the host's window. On a busy machine it comes seconds after the host's.
preview_found() {
    local w
    for w in $(xdotool search --name '' 2>/dev/null); do
        if [ -z "$(xdotool getwindowname "$w" 2>/dev/null)" ] &&
            xdotool getwindowgeometry "$w" 2>/dev/null | grep -q 'Geometry: 200x150'; then
            drawable=$w
            return
        fi
    done
    return 1
}
# A pixel that cannot be read (no window) is no colour, not a drawn one.
drawn() { local p; p=$(pixel "$1" "$2" "$3") && [ -n "$p" ] && [ "$p" != "0 0 0" ]; }

# Preview: a child of a host program's window, ended when the host closes.
wine "$host" "$saver" 5 >"$out/host.txt" &
pid=$!
drawable=""
check "the preview has a window of its own" eventually preview_found
check "the preview draws the bands" eventually black "$drawable" 100 2
"$shot" "$out/preview.png" "$drawable"
check "the preview draws the noise" drawn "$drawable" 100 75
wait_exit "$pid" 200
check "the preview ends with 0 when its host closes" test "$rc" = 0
check "the preview is a child of the host, of its size" grep -q "^child 200x150" "$out/host.txt"

timeout 30 wine "$saver" /x
check "'/x' ends with -1" test $? -eq 255

report
