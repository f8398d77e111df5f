#!/bin/bash
# MATE's screen saver runs the installed orbdrift as its one theme: picked in
# its preferences, activated and deactivated by mate-screensaver-command over a
# private session bus. It only runs themes installed where the packages put
# them, so this checks an installed orbdrift and says so when there is none.
# Usage: mate_screensaver_test.sh X-SCREENSHOT OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" shot out -- "$@"

if [ ! -f /usr/share/applications/screensavers/orbdrift.desktop ]; then
    echo "skipped: orbdrift's theme is not installed"
    report
    exit
fi

scratch=$(mktemp -d /tmp/orbdrift-mate.XXXXXX)
bus="" saver="" tracer="" daemon="" preferences=""
cleanup() {
    for pid in $tracer $saver $daemon $preferences $bus; do kill "$pid" 2>/dev/null; done
    kill "$xvfb" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
start_private_x 640x480 || { echo "FAIL: no X server"; exit 1; }

# Its settings live in dconf, which the bus starts with the bus's own
# environment: everything the settings go by is set before the bus starts.
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_CACHE_HOME=$scratch/cache \
    XDG_RUNTIME_DIR=$scratch/run XDG_CURRENT_DESKTOP=MATE NO_AT_BRIDGE=1
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
coproc BUS { exec dbus-daemon --session --nofork --nopidfile --print-address=1; }
bus=$BUS_PID
read -r -t 10 address <&"${BUS[0]}"
export DBUS_SESSION_BUS_ADDRESS=$address
check "a session bus runs" test -n "$address"

# Picked as a person picks it: typing its name in the preferences' list of
# themes makes it the one theme, and the preview runs it.
gsettings set org.mate.screensaver lock-enabled false
mate-screensaver-preferences >"$out/preferences.log" 2>&1 &
preferences=$!
xdotool mousemove --window "$(window_named "Screensaver Preferences")" 50 95 click 1 sleep 0.5 type Orbdrift
picked() { [ "$(gsettings get org.mate.screensaver themes)$(gsettings get org.mate.screensaver mode)" = "['screensavers-orbdrift']'single'" ]; }
check "typing Orbdrift in the preferences' list picks it as the one theme" eventually picked
check "and its preview runs orbdrift" eventually pgrep -x -P "$preferences" orbdrift
kill "$preferences"
wait "$preferences" 2>/dev/null

mate-screensaver --no-daemon --debug >"$out/mate-screensaver.log" 2>&1 &
daemon=$!
check "the screen saver answers" eventually mate-screensaver-command --query >/dev/null 2>&1
mate-screensaver-command --activate >/dev/null 2>&1
for _ in $(seq 150); do
    saver=$(pgrep -x -P "$daemon" orbdrift)
    [ -n "$saver" ] && break
    sleep 0.1
done
check "activating starts orbdrift" test -n "$saver"
strace -q -e trace=none -p "$saver" -o "$out/orbdrift.trace" 2>/dev/null &
tracer=$!
check "its exit is watched" eventually grep -q "^TracerPid:.*[1-9]" "/proc/$saver/status"
check "it is handed its window in XSCREENSAVER_WINDOW" \
    grep -qzE '^XSCREENSAVER_WINDOW=0x[0-9a-f]+$' "/proc/$saver/environ"
check "the screen shows orbdrift's noise" eventually shows_noise root 240 100 200 300 400 500
"$shot" "$out/active.png"

mate-screensaver-command --deactivate >/dev/null 2>&1
wait_exit "$tracer" 100
check "deactivating ends orbdrift with 0" grep -q "^+++ exited with 0 +++" "$out/orbdrift.trace"
check "the screen saver runs on" still_running "$daemon"
report
