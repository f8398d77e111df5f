#!/bin/bash
# The real X screen-saver daemon and its settings program find orbdrift among
# the display modes once the user has run orbdrift-add-to-xscreensaver, with
# no file of its own and with one made by hand; the daemon keeps the display
# mode that file chose, and runs orbdrift, which draws until deactivated. It runs the build installed into a
# scratch prefix, or with --installed the package installed on this machine.
# The daemon refuses to run display modes as root, so as root this runs it as
# an ordinary user made for the test and removed afterwards.
# Usage: xscreensaver_daemon_test.sh BUILD-DIR|--installed X-SCREENSHOT OUTPUT-DIR
set -u
build=$1
[ "$build" = --installed ] || build=$(realpath "$build")
shot=$(realpath "$2")
out=$3
rm -rf "$out"
mkdir -p "$out"
out=$(realpath "$out")
. "$(dirname "$0")/../support/end_to_end_checks.sh"

# The daemon's user must reach the program and its home wherever the build is.
scratch=$(mktemp -d /tmp/orbdrift-daemon.XXXXXX)
chmod 755 "$scratch"
home=$scratch/home
user=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
    user=orbdrift-daemon-test
    id "$user" >/dev/null 2>&1 || useradd --no-create-home --home-dir "$home" "$user"
fi
as_user() {
    if [ "$user" = "$(id -un)" ]; then
        env HOME="$home" PATH="$path" DISPLAY="$DISPLAY" "$@"
    else
        runuser -u "$user" -- env HOME="$home" PATH="$path" DISPLAY="$DISPLAY" "$@"
    fi
}
settings_program=""
# Its preview ends when the program's window goes.
end_settings_program() {
    [ -n "$settings_program" ] || return
    kill $(pgrep -P "$settings_program") "$settings_program" 2>/dev/null
    wait "$settings_program" 2>/dev/null
    settings_program=""
}
cleanup() {
    end_settings_program
    as_user xscreensaver-command -exit >/dev/null 2>&1
    kill "$xvfb" 2>/dev/null
    [ "$user" = orbdrift-daemon-test ] && userdel "$user" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

# Another user draws on this server, so it lets any local client in.
start_private_x 640x480 -ac || { echo "FAIL: no X server"; exit 1; }
# Installed, the daemon finds the program where it looks for display modes.
path=/usr/bin:/bin
if [ "$build" != --installed ]; then
    cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
    path="$scratch/prefix/bin:$scratch/prefix/libexec/xscreensaver:$path"
fi
mkdir -p "$home"
chmod -R a+rX "$scratch"
chown -R "$user" "$home"
settings=$home/.xscreensaver

# The daemon's own account of the display mode it starts, from its log.
log=$out/daemon.log
modes() { sed -n 's/.*: forked "\(.*\)" in pid.*/\1/p' "$log" | grep -v '^xscreensaver-'; }
# start_mode [N]: activates the daemon, or has it run its Nth display mode;
# the command line it then starts in $mode.
start_mode() {
    local before
    before=$(modes | wc -l)
    if [ -n "${1:-}" ]; then
        as_user xscreensaver-command -select "$1" >/dev/null 2>&1
    else
        as_user xscreensaver-command -activate >/dev/null 2>&1
    fi
    for _ in $(seq 100); do
        [ "$(modes | wc -l)" -gt "$before" ] && mode=$(modes | tail -1) && return
        sleep 0.1
    done
    mode=""
}
stop_mode() { as_user xscreensaver-command -deactivate >/dev/null 2>&1; }
add() { as_user orbdrift-add-to-xscreensaver >>"$out/add.txt" 2>&1; }

# A person's first start: no ~/.xscreensaver until the settings program saves.
as_user xscreensaver -no-splash -verbose >"$log" 2>&1 &
daemon=$!
for _ in $(seq 100); do
    as_user xscreensaver-command -time >/dev/null 2>&1 && break
    sleep 0.1
done
check "the daemon runs" still_running "$daemon"
add
status=$?
check "orbdrift-add-to-xscreensaver begins ~/.xscreensaver (exit $status)" test "$status" = 0 -a -s "$settings"

# The user's entries come first in the daemon's list, orbdrift the only one.
start_mode 1
check "the daemon's first display mode is orbdrift --root (it started: $mode)" test "$mode" = "orbdrift --root"
saver=""
for _ in $(seq 100); do
    saver=$(pgrep -u "$user" -f "orbdrift --root" | head -1)
    [ -n "$saver" ] && break
    sleep 0.1
done
check "the middle shows orbdrift's noise" eventually shows_noise root 240 100 200 300 400 500
"$shot" "$out/activated.png"
# Row 0: the breathing band may leave row 1 to the sphere at its thinnest.
check "the top band is black" black root 320 0
stop_mode
ended=no
for _ in $(seq 100); do
    kill -0 "$saver" 2>/dev/null || { ended=yes; break; }
    sleep 0.1
done
check "deactivating ends orbdrift" test "$ended" = yes

# The settings program lists it too: typing its name in the list of display
# modes picks it there, and the preview runs it.
# With no session bus it would start one of its own, which outlives it.
as_user env DBUS_SESSION_BUS_ADDRESS=disabled: xscreensaver-settings --debug >"$out/settings.log" 2>&1 &
settings_program=$!
window=$(window_named "XScreenSaver: .*")
xdotool mousemove --window "$window" 100 200 click 1 sleep 0.5 type --delay 50 orbdrift
check "typing orbdrift in xscreensaver-settings' list picks it" \
    eventually grep -q 'scheduling preview "orbdrift --root' "$out/settings.log"
"$shot" "$out/settings.png"
end_settings_program

# A file written by hand a while ago, choosing the daemon's third display
# mode by its place in the daemon's list: with orbdrift added, the place still
# names the mode it named. (The daemon sees a change by the file's time, in
# seconds.)
cat >"$settings" <<'SETTINGS'
# mine
mode: one
selected: 2
lock: False
splash: False
fade: False
unfade: False
SETTINGS
touch -d "1 minute ago" "$settings"
cp "$settings" "$out/by-hand"
start_mode
chosen=$mode
stop_mode
add
check "it adds orbdrift to a file written by hand" grep -q "orbdrift --root" "$settings"
cp "$settings" "$out/added"
add
check "and a second run changes nothing" cmp -s "$settings" "$out/added"
check "every line of the person's is kept" sh -c "! grep -qvxFf '$settings' '$out/by-hand'"
start_mode
check "the display mode chosen stays chosen ($chosen, now $mode)" test -n "$chosen" -a "$mode" = "$chosen"
stop_mode
report
