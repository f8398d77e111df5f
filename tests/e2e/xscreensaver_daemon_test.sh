#!/bin/bash
# The real X screen-saver daemon runs orbdrift: installed into a scratch
# prefix, listed as the one display mode of a private ~/.xscreensaver, the
# screen activated and deactivated by xscreensaver-command. The daemon
# refuses to run display modes as root, so as root this runs it as an
# ordinary user made for the test and removed afterwards.
# Usage: xscreensaver_daemon_test.sh BUILD-DIR X-SCREENSHOT OUTPUT-DIR
set -u
build=$(realpath "$1")
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
cleanup() {
    as_user xscreensaver-command -exit >/dev/null 2>&1
    kill "$xvfb" 2>/dev/null
    [ "$user" = orbdrift-daemon-test ] && userdel "$user" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

# Another user draws on this server, so it lets any local client in.
start_private_x 640x480 -ac || { echo "FAIL: no X server"; exit 1; }
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
path="$scratch/prefix/libexec/xscreensaver:/usr/bin:/bin"
mkdir -p "$home"
cat >"$home/.xscreensaver" <<'SETTINGS'
mode: one
selected: 0
lock: False
timeout: 1:00:00
splash: False
fade: False
unfade: False
programs: GL: orbdrift --root \n
SETTINGS
chmod -R a+rX "$scratch"
chown -R "$user" "$home"

as_user xscreensaver -no-splash >"$out/daemon.log" 2>&1 &
daemon=$!
for _ in $(seq 100); do
    as_user xscreensaver-command -time >/dev/null 2>&1 && break
    sleep 0.1
done
check "the daemon runs" still_running "$daemon"

as_user xscreensaver-command -activate >/dev/null 2>&1
saver=""
for _ in $(seq 100); do
    saver=$(pgrep -u "$user" -f "orbdrift --root" | head -1)
    [ -n "$saver" ] && break
    sleep 0.1
done
check "activating starts orbdrift --root" test -n "$saver"
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
check "deactivating ends orbdrift" test "$ended" = yes
report
