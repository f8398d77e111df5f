#!/bin/bash
# Plasma's desktop shell with orbdrift as its wallpaper: the picture, picked
# with the shell's scripting call as a person's command line does, and at
# rest under a window that covers it, costing the shell no more than an
# image wallpaper does. One screen: Qt 5 makes its screens of RandR outputs,
# of which Xvfb has one (its RandR monitors and further X screens give the
# shell no second screen); the plugin's test draws into two windows.
# Usage: plasma_desktop_test.sh BUILD-DIR X-SCREENSHOT X-HOST OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" build shot host out -- "$@"

scratch=$(mktemp -d /tmp/orbdrift-plasma.XXXXXX)
shell="" bus=""
# What the bus started for the shell (its daemons) goes with it.
cleanup() {
    [ -z "${HOST[1]:-}" ] || eval "exec ${HOST[1]}>&-" # the covering window goes
    [ -z "$shell" ] || { kill "$shell" 2>/dev/null; wait_exit "$shell" 100; }
    if [ -n "$bus" ]; then
        for pid in $(pgrep -P "$bus"); do kill "$pid" 2>/dev/null; done
        kill "$bus" 2>/dev/null
    fi
    kill "$xvfb" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
start_private_x 1280x480 || { echo "FAIL: no X server"; exit 1; }
mkdir -p "$scratch/config" "$scratch/home" "$scratch/runtime"
chmod 700 "$scratch/runtime"
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/runtime \
    XDG_DATA_DIRS=$build/share:/usr/share QML2_IMPORT_PATH=$build/qml
# A session bus that starts the shell's daemons (the activity manager, without
# which it shows nothing) in this environment; named in the abstract space,
# it leaves nothing on disk.
dbus-daemon --session --nofork --address="unix:abstract=orbdrift-plasma-$$-$(date +%s%N)" \
    --print-address=1 >"$scratch/bus.address" 2>"$out/bus.log" &
bus=$!
eventually test -s "$scratch/bus.address" || { echo "FAIL: no D-Bus daemon"; exit 1; }
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$scratch/bus.address")
plasmashell --no-respawn >"$out/plasmashell.log" 2>&1 &
shell=$!

# wallpaper PLUGIN: every desktop's wallpaper, as the README's command sets it.
wallpaper() {
    dbus-send --session --dest=org.kde.plasmashell --type=method_call --print-reply \
        /PlasmaShell org.kde.PlasmaShell.evaluateScript string:"desktops().forEach(function (d) {
            d.wallpaperPlugin = '$1'; })" >/dev/null 2>&1
}
differ() { ! compare -metric AE "$1" "$2" null: 2>/dev/null; }
# Two screenshots of an area (WxH+X+Y) a fifth of a second apart differ.
moving() {
    "$shot" "$out/a.png" && sleep 0.2 && "$shot" "$out/b.png" && differ "$out/a.png[$1]" "$out/b.png[$1]"
}
middle=1200x150+40+160
# covered_share: the shell's share of a core under a window over the screen.
coproc HOST { "$host"; }
read -r -t 10 cover <&"${HOST[0]}"
xdotool windowunmap "$cover"
covered_share() {
    xdotool windowmap "$cover" windowraise "$cover" windowmove "$cover" 0 0 windowsize "$cover" 1280 480
    sleep 2
    cpu_share "$shell" 5
    xdotool windowunmap "$cover"
}

check "the shell takes its scripting calls" eventually wallpaper org.kde.image
sleep 5 # the image drawn and the shell settled
image=$(covered_share)
check "orbdrift picked" wallpaper org.orbdrift.wallpaper
check "the picture moves" eventually moving "$middle"
check "with its black bands" black root 640 10
ours=$(covered_share)
check "covered, the shell takes $ours % of a core, $image with an image wallpaper: under 2 more" \
    below "$ours" "$(awk "BEGIN {print $image + 2}")"
check "uncovered, it draws again" eventually moving "$middle"
# Under a compositing manager every window shows; the focused window
# full-screen over the monitors is the sign. Unmapped, it covers nothing.
xprop -id "$cover" -f _NET_WM_STATE 32a -set _NET_WM_STATE _NET_WM_STATE_FULLSCREEN
xdotool windowmove "$cover" 0 0 windowsize "$cover" 1280 480
xprop -root -f _NET_ACTIVE_WINDOW 32x -set _NET_ACTIVE_WINDOW "$cover"
check "the focused window full-screen over it, it draws nothing" eventually eval '! moving $middle'
xprop -id "$cover" -remove _NET_WM_STATE
check "no longer full-screen, it draws" eventually moving "$middle"
check "the shell still runs" kill -0 "$shell"
report
