#!/bin/bash
# The real X screen-saver daemon and its settings program list orbdrift once
# the user has run orbdrift-add-to-xscreensaver, with no ~/.xscreensaver and
# with one written by hand, whose chosen display mode stays chosen, also once
# --remove has taken orbdrift out again; activated, orbdrift draws until
# deactivated. It runs the build installed into a scratch prefix, or with
# --installed the package installed on this machine. The
# daemon refuses to run display modes as root, so as root this runs it as an
# ordinary user made for the test (one of this run's own: another run's
# cleanup must not remove it, nor its saver stand in for this one's) and
# removed afterwards.
# Usage: xscreensaver_daemon_test.sh BUILD-DIR|--installed X-SCREENSHOT OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" build= shot out -- "$@"
[ "$build" = --installed ] || build=$(realpath "$build")

# The daemon's user must reach the program and its home wherever the build is.
scratch=$(mktemp -d /tmp/orbdrift-daemon.XXXXXX)
chmod 755 "$scratch"
home=$scratch/home
user=$(id -un)
made_user=""
if [ "$(id -u)" -eq 0 ]; then
    user=orbdrift-daemon-$$
    useradd --no-create-home --home-dir "$home" "$user" && made_user=$user
    [ -n "$made_user" ] || { echo "FAIL: no user to run the daemon as"; rm -rf "$scratch"; exit 1; }
fi
as_user() {
    if [ "$user" = "$(id -un)" ]; then
        env HOME="$home" PATH="$path" DISPLAY="$DISPLAY" "$@"
    else
        runuser -u "$user" -- env HOME="$home" PATH="$path" DISPLAY="$DISPLAY" "$@"
    fi
}
settings_program=""
cleanup() {
    kill "$settings_program" 2>/dev/null
    as_user xscreensaver-command -exit >/dev/null 2>&1
    kill "$xvfb" 2>/dev/null
    if [ -n "$made_user" ]; then
        # What the daemon started ends with it and the server, if not at once;
        # what is left is this run's alone.
        for _ in $(seq 50); do pgrep -u "$user" >/dev/null || break; sleep 0.1; done
        pkill -KILL -u "$user"
        for _ in $(seq 50); do pgrep -u "$user" >/dev/null || break; sleep 0.1; done
        userdel "$user" 2>/dev/null
    fi
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

log=$out/daemon.log
# The display modes the daemon started, by its log: "PID COMMAND" each.
modes() { sed -n 's/.*: forked "\(.*\)" in pid \([0-9]*\).*/\2 \1/p' "$log" | grep -v '^[0-9]* xscreensaver-'; }
# start_mode ARGUMENT...: xscreensaver-command ARGUMENT...; the display mode the
# daemon then starts in $mode, its process in $mode_pid.
start_mode() {
    local before
    before=$(modes | wc -l)
    as_user xscreensaver-command "$@" >/dev/null 2>&1
    mode=""
    mode_pid=""
    for _ in $(seq 100); do
        [ "$(modes | wc -l)" -gt "$before" ] && read -r mode_pid mode < <(modes | tail -1) && return
        sleep 0.1
    done
}
add() { as_user orbdrift-add-to-xscreensaver "$@" >>"$out/add.txt" 2>&1; }

# A person's first start: no ~/.xscreensaver until the settings program saves.
as_user xscreensaver -no-splash -verbose >"$log" 2>&1 &
daemon=$!
for _ in $(seq 100); do
    as_user xscreensaver-command -time >/dev/null 2>&1 && break
    sleep 0.1
done
check "the daemon runs" still_running "$daemon"
add
check "orbdrift-add-to-xscreensaver begins ~/.xscreensaver" test $? = 0 -a -s "$settings"

# The user's entries come first in the daemon's list, orbdrift the only one.
start_mode -select 1
check "the daemon's first display mode is orbdrift --root (it started: $mode)" test "$mode" = "orbdrift --root"
saver=$mode_pid
check "the middle shows orbdrift's noise" eventually shows_noise root 240 100 200 300 400 500
"$shot" "$out/activated.png"
# Row 0: the breathing band may leave row 1 to the sphere at its thinnest.
check "the top band is black" black root 320 0
as_user xscreensaver-command -deactivate >/dev/null 2>&1
ended=no
for _ in $(seq 100); do
    kill -0 "$saver" 2>/dev/null || { ended=yes; break; }
    sleep 0.1
done
check "deactivating ends orbdrift" test -n "$saver" -a "$ended" = yes

# In the settings program's list, typing the name picks it and the preview
# runs it. With no session bus it would start one that outlives it.
as_user env DBUS_SESSION_BUS_ADDRESS=disabled: xscreensaver-settings --debug >"$out/settings.log" 2>&1 &
settings_program=$!
xdotool mousemove --window "$(window_named "XScreenSaver: .*")" 100 200 click 1 sleep 0.5 type orbdrift
check "typing orbdrift in xscreensaver-settings' list picks it" \
    eventually grep -q 'scheduling preview "orbdrift --root' "$out/settings.log"
kill "$settings_program"
wait "$settings_program"

# A file written by hand a minute ago (the daemon sees a change by the
# file's time, in seconds), choosing the daemon's third display mode by its
# place in the daemon's list: that place must still name it.
printf '%s\n' "# mine" "mode: one" "selected: 2" "fade: False" "unfade: False" >"$settings"
touch -d "1 minute ago" "$settings"
cp "$settings" "$out/by-hand"
start_mode -activate
chosen=$mode
as_user xscreensaver-command -deactivate >/dev/null 2>&1
add && cp "$settings" "$out/added" && add
check "it adds orbdrift to a file written by hand, keeping every line" \
    sh -c "grep -q 'orbdrift --root' '$settings' && ! grep -qvxFf '$settings' '$out/by-hand'"
check "and a second run changes nothing" cmp -s "$settings" "$out/added"
start_mode -activate
check "the display mode chosen stays chosen ($chosen, now $mode)" test -n "$chosen" -a "$mode" = "$chosen"
as_user xscreensaver-command -deactivate >/dev/null 2>&1
add --remove
check "--remove takes orbdrift out again, keeping every line written by hand" \
    sh -c "! grep -q orbdrift '$settings' && ! grep -qvxFf '$settings' '$out/by-hand'"
start_mode -activate
check "and the display mode chosen is still chosen ($chosen, now $mode)" test "$mode" = "$chosen"
report
