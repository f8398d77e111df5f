#!/bin/bash
# Plasma's lock screen, in the greeter's testing mode, with orbdrift as its
# wallpaper: the picture behind the clock and the password prompt, moving,
# under the settings the lock screen's configuration gives it.
# Usage: plasma_greeter_test.sh BUILD-DIR X-SCREENSHOT OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" build shot out -- "$@"
. "$(dirname "$0")/../support/private_bus.sh"

scratch=$(mktemp -d /tmp/orbdrift-greeter.XXXXXX)
greeter="" bus=""
cleanup() {
    [ -z "$greeter" ] || { kill "$greeter" 2>/dev/null; wait_exit "$greeter" 50; }
    [ -z "$bus" ] || kill "$bus" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
start_private_x 1024x768 || { echo "FAIL: no X server"; exit 1; }
start_private_bus "$scratch" || exit 1

# The plugin from the build tree, found as an installed one is.
mkdir -p "$scratch/config" "$scratch/home" "$scratch/runtime"
chmod 700 "$scratch/runtime"
cat >"$scratch/config/kscreenlockerrc" <<'CONFIG'
[Greeter]
WallpaperPlugin=org.orbdrift.wallpaper

[Greeter][Wallpaper][org.orbdrift.wallpaper][General]
Texture=smoke
CONFIG
greet=$(ls /usr/lib/*/libexec/kscreenlocker_greet /usr/libexec/kscreenlocker_greet 2>/dev/null | head -1)
check "the greeter is installed" test -n "$greet"
HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/runtime \
    XDG_DATA_DIRS=$build/share:/usr/share QML2_IMPORT_PATH=$build/qml \
    DBUS_SESSION_BUS_ADDRESS=$bus_address "$greet" --testing >"$out/greeter.log" 2>&1 &
greeter=$!

differ() { ! compare -metric AE "$1" "$2" null: 2>/dev/null; }
# Two screenshots of the picture's middle a second apart differ.
middle=600x200+212+284
moving() {
    "$shot" "$out/a.png" && sleep 1 && "$shot" "$out/b.png" &&
        differ "$out/a.png[$middle]" "$out/b.png[$middle]"
}
# The lock screen's own background is a flat colour or an image; the scene's
# letterbox bands are black above and below it.
check "the lock screen shows orbdrift's picture between its bands" \
    eventually shows_noise root 384 100 300 500 700 900
check "the bands are black" black root 10 740
check "the picture moves" moving
check "under the lock screen's settings: the smooth texture" smooth "$out/a.png"
xdotool mousemove 500 500 key space
sleep 2
"$shot" "$out/prompt.png"
check "the password prompt comes up over it" differ "$out/b.png" "$out/prompt.png"
check "the picture goes on behind the prompt" moving
check "the greeter still runs" kill -0 "$greeter"
report
