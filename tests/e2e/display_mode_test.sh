#!/bin/bash
# orbdrift as the X screen-saver daemon runs it: in a window it is handed,
# named by XSCREENSAVER_WINDOW with --root or by --window-id, filling it and
# following it, with no grabs, until the window goes.
# Usage: display_mode_test.sh ORBDRIFT X-SCREENSHOT X-HOST X-POST OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" saver shot host post out -- "$@"
export XDG_CONFIG_HOME="$out/config" # the test's own settings, not the person's
start_test_x

# Each way of naming the host: the daemon's variable in hexadecimal, the
# settings program's --window-id in decimal and in hexadecimal.
for way in root window-id-decimal window-id-hex; do
    coproc HOST { "$host"; }
    host_pid=$HOST_PID
    read -r -t 10 id <&"${HOST[0]}"
    hex=$(printf '0x%x' "$id")
    case $way in
    root) XSCREENSAVER_WINDOW=$hex "$saver" --root & ;;
    window-id-decimal) "$saver" --window-id "$id" & ;;
    window-id-hex) "$saver" -window-id "$hex" --delay 20000 & ;;
    esac
    pid=$!
    check "$way: draws inside the host window" eventually shows "$id" 100 75
    "$shot" "$out/$way.png" "$id"
    xdotool key a
    sleep 0.3
    check "$way: input does not end it" still_running "$pid"

    echo "400 300" >&"${HOST[1]}"
    check "$way: follows the host to 400 x 300" eventually shows "$id" 390 290
    "$shot" "$out/$way-resized.png" "$id"
    check "$way: the bands move with it" black "$id" 200 0

    eval "exec ${HOST[1]}>&-"
    wait_exit "$pid" 30
    check "$way: ends with 0 when the host goes (exit $rc)" test "$rc" = 0
    wait "$host_pid" 2>/dev/null
done

# The daemon stops a display mode with SIGTERM.
coproc HOST { "$host"; }
read -r -t 10 id <&"${HOST[0]}"
"$saver" --window-id "$id" &
pid=$!
window_named Preview >/dev/null
kill -TERM "$pid"
wait_exit "$pid" 30
check "SIGTERM ends a display mode with 0" test "$rc" = 0
# And as it starts, before it has read its settings, let alone made a window,
# even from a launcher that leaves the signal blocked.
for mode in --root "--window-id $id" --window; do
    "${end_signals_blocked[@]}" "$saver" $mode &
    pid=$!
    term_when_caught "$pid" "$saver"
    wait_exit "$pid" 30
    check "$mode: SIGTERM as it starts ends it with 0 (exit $rc)" test "$rc" = 0
    check "$mode: taken before it reads settings or connects" \
        catches_term_first "$out/start${mode%% *}.strace" "$saver" $mode
done
eval "exec ${HOST[1]}>&-"

# Without a window named, --root draws on the root window itself.
"$saver" --root &
pid=$!
check "--root alone draws on the whole screen" eventually shows_noise root 240 100 200 300 400 500
"$shot" "$out/root-window.png"
check "with its bands" black root 320 0
kill -TERM "$pid"
wait_exit "$pid" 30
check "and ends with 0 on SIGTERM" test "$rc" = 0

# Never more frames than the display shows: a mode of 30 Hz holds it to 30
# a second; back on Xvfb's own mode, of no known rate, it keeps its timer's
# pace again while it runs.
# A sanitized program takes no preloaded library ahead of its runtime.
counter=$(dirname "$saver")/swap-counter.so
if [ -f "$counter" ] && ! ldd "$saver" | grep -q libasan; then
    xrandr --newmode orbdrift-30hz 12.59 640 656 752 800 480 490 492 525 &&
        xrandr --addmode screen orbdrift-30hz && xrandr --output screen --mode orbdrift-30hz
    SWAP_COUNTER_FILE=$out/swaps LD_PRELOAD=$counter "$saver" --root &
    pid=$!
    swaps_a_second() {
        local before
        sleep 1
        before=$(awk '{print $1}' "$out/swaps")
        sleep 2
        echo $((($(awk '{print $1}' "$out/swaps") - before) / 2))
    }
    at_30_hz=$(swaps_a_second)
    xrandr --output screen --mode 640x480
    unknown=$(swaps_a_second)
    kill -TERM "$pid"
    wait_exit "$pid" 30
    check "30 frames a second at most on a 30 Hz mode ($at_30_hz), its timer's pace after a change to one of unknown rate ($unknown)" \
        test "$at_30_hz" -le 31 -a "$unknown" -ge 40
fi

# A window of its own, closed by its window manager's close request.
"$saver" --window &
pid=$!
trial=$(window_named orbdrift)
check "--window makes a window of its own" test -n "$trial"
window_named Preview >/dev/null
"$post" "$trial" close-request
wait_exit "$pid" 30
check "closing it ends with 0" test "$rc" = 0

# A texture given as an option, in the daemon's preview: smoke, where the
# default draws noise. What the daemon's entry leaves out is what /c saved;
# what it passes wins: its first choice leaves the saved ring, its noise is
# noise.
xml=$(dirname "$saver")/generated/orbdrift.xml
# entry_list LIST: each choice of the entry's list, a line each: as a person
# reads it, "=", what it writes into the command.
entry_list() {
    python3 -c 'import sys, xml.etree.ElementTree as t
for c in [c for s in t.parse(sys.argv[1]).iter("select") if s.get("id") == sys.argv[2] for c in s]:
    print(c.get("_label") + "=" + c.get("arg-set", ""))' "$xml" "$1"
}
for case in "smooth none --texture SMOKE" "rough none" "smooth SMOKE" "rough SMOKE --texture Noise" \
    "rough RING $(entry_list texture | sed -n 's/^Texture: noise=//p')" \
    "smooth RING $(entry_list texture | sed -n '1s/.*=//p')"; do
    set -- $case
    if [ "$2" != none ]; then
        mkdir -p "$XDG_CONFIG_HOME/orbdrift"
        printf '[Software\\orbdrift]\nTexture=%s\n' "$2" >"$XDG_CONFIG_HOME/orbdrift/settings"
    fi
    coproc HOST { "$host"; }
    read -r -t 10 id <&"${HOST[0]}"
    "$saver" --window-id "$id" "${@:3}" &
    pid=$!
    check "--window-id ${*:3} with $2 saved draws a $1 picture" \
        eventually shot_is "$1" "$id" "$out/$1.png"
    eval "exec ${HOST[1]}>&-"
    wait_exit "$pid" 30
    rm -f "$XDG_CONFIG_HOME/orbdrift/settings"
done

# Every option the settings program's entry passes is one the program takes,
# with the lowest, highest and default value of each slider.
check "the settings entry is well formed" xmllint --noout "$xml"
refused=""
count=0
while read -r arguments; do
    count=$((count + 1))
    "$saver" $arguments --help >/dev/null 2>&1 || refused="$refused [$arguments]"
done < <(python3 - "$xml" <<'LIST'
import sys
import xml.etree.ElementTree as tree
for control in tree.parse(sys.argv[1]).iter():
    for name in ("arg", "arg-set", "arg-unset"):
        arg = control.get(name)
        if arg:
            values = [control.get(v) for v in ("low", "high", "default") if control.get(v)]
            print("\n".join(arg.replace("%", v) for v in values) if "%" in arg else arg)
LIST
)
check "the program takes all $count of the entry's options:$refused" test -z "$refused" -a "$count" -ge 20
mapfile -t textures < <(entry_list texture | sed '1d; s/^Texture: //; s/=.*//')
listed="Texture: ${textures[*]:0:${#textures[@]}-1} different (${textures[-1]}:"
check "the entry lists the textures as the usage does" \
    sh -c "'$saver' --help | tr -s ' \n' ' ' | grep -qF '$listed'"
mapfile -t speeds < <(entry_list speed | sed 1d)
check "normal speed is in the middle of the entry's speeds" \
    test "${speeds[${#speeds[@]} / 2]}" = "Speed: normal=--speed 1" -a $((${#speeds[@]} % 2)) = 1

# A window that does not exist is said in one line and ends a display mode
# with 1; the Windows switch keeps its -1. A number above X's 29 bits names
# no window, though the server would take its low half for one.
coproc HOST { "$host"; }
read -r -t 10 id <&"${HOST[0]}"
for way in "--window-id 12345 1" "--window-id $((id + (1 << 32))) 1" "--window-id 0 1" \
    "/p $((id + (1 << 32))) 255"; do
    set -- $way
    timeout 10 "$saver" "$1" "$2" 2>"$out/no-window.txt"
    rc=$?
    said=$(cat "$out/no-window.txt")
    [ "$1" = /p ] || expected=$(printf 'orbdrift: there is no window 0x%x to draw in' "$2")
    check "$1 $2 is no window: ends with $3 (exit $rc), saying [$said]" \
        test "$rc" -eq "$3" -a "$said" = "${expected:-}"
    expected=""
done
eval "exec ${HOST[1]}>&-"
check "-h shows the usage on stdout" sh -c "'$saver' -h | grep -q '^Usage: orbdrift'"
# A bad option is said in one line that points to the usage, not the usage.
for bad in --no-such-option "--speed 9"; do
    "$saver" $bad 2>"$out/bad.txt"
    rc=$?
    said=$(cat "$out/bad.txt")
    check "$bad ends with 2 (exit $rc), saying in one line [$said]" \
        test "$rc" -eq 2 -a "$(wc -l <"$out/bad.txt")" -eq 1 -a "${said%(try --help)}" != "$said"
done
check "--help shows the usage on stdout" sh -c "'$saver' --help | grep -q '^Usage: orbdrift'"

# A host on the second screen of a display: the saver takes its screen.
kill "$xvfb"
wait "$xvfb" 2>/dev/null
start_test_x 640x480 -screen 1 400x300x24
coproc HOST { DISPLAY=$DISPLAY.1 "$host"; }
read -r -t 10 id <&"${HOST[0]}"
DISPLAY=$DISPLAY.0 "$saver" --window-id "$id" &
pid=$!
check "a host on screen 1 is drawn in" eventually shows "$id" 100 75
eval "exec ${HOST[1]}>&-"
wait_exit "$pid" 30
check "and it ends with 0 when the host goes (exit $rc)" test "$rc" = 0

report
