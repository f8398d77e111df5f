#!/bin/bash
# The real screen locker runs orbdrift as its saver: once as a user names it
# (the locker adds -root), once started bare as other lockers start theirs,
# with nothing but XSCREENSAVER_WINDOW. An authentication module that always
# agrees stands in for the password prompt, so a key press unlocks.
# Usage: xsecurelock_test.sh ORBDRIFT X-SCREENSHOT OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" orbdrift shot out -- "$@"

scratch=$(mktemp -d /tmp/orbdrift-locker.XXXXXX)
locker="" multiplex="" saver="" tracer=""
# The locker ends its own helpers on SIGTERM; whatever a failure left behind
# goes by its process id.
cleanup() {
    kill -TERM "$locker" 2>/dev/null && wait_exit "$locker" 50
    for pid in $(pgrep -P "$multiplex" 2>/dev/null) $multiplex $saver $tracer; do
        kill -9 "$pid" 2>/dev/null
    done
    kill "$xvfb" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
start_private_x 640x480 || { echo "FAIL: no X server"; exit 1; }

# The locker only takes a module whose name starts with auth_.
printf '#!/bin/sh\nexit 0\n' >"$scratch/auth_agrees"
printf '#!/bin/sh\nexec "%s"\n' "$orbdrift" >"$scratch/saver_bare"
chmod +x "$scratch/auth_agrees" "$scratch/saver_bare"
mkdir "$scratch/home"

# lock NAME SAVER: locks the screen with SAVER; the saver's process is in
# $saver and a tracer that keeps its exit code in NAME.trace is in $tracer.
lock() {
    HOME=$scratch/home XSECURELOCK_SAVER=$2 XSECURELOCK_AUTH=$scratch/auth_agrees \
        xsecurelock >"$out/$1.log" 2>&1 &
    locker=$!
    saver=""
    for _ in $(seq 150); do
        multiplex=$(pgrep -P "$locker" -x saver_multiplex)
        [ -n "$multiplex" ] && saver=$(pgrep -P "$multiplex" -x orbdrift)
        [ -n "$saver" ] && break
        sleep 0.1
    done
    check "$1: the locker starts orbdrift" test -n "$saver"
    strace -q -e trace=none -p "$saver" -o "$out/$1.trace" 2>/dev/null &
    tracer=$!
    check "$1: its exit is watched" eventually grep -q "^TracerPid:.*[1-9]" "/proc/$saver/status"
    check "$1: the locked screen shows orbdrift's noise" \
        eventually shows_noise root 240 100 200 300 400 500
    "$shot" "$out/$1.png"
}
# gone PID...: none of them runs (a zombie waiting for its parent has ended).
gone() {
    local pid state
    for pid in "$@"; do
        state=$(sed -n 's/^State:\t\(.\).*/\1/p' "/proc/$pid/status" 2>/dev/null)
        [ -z "$state" ] || [ "$state" = Z ] || return 1
    done
}
# ended NAME: the saver ended with 0 and nothing the locker started is left.
ended() {
    wait_exit "$tracer" 100
    grep -q "^+++ exited with 0 +++" "$out/$1.trace" && eventually gone "$saver" "$multiplex"
}

lock named "$orbdrift"
check "named: it was started as the locker names its savers" \
    test "$(tr '\0' ' ' <"/proc/$saver/cmdline")" = "$orbdrift -root "
xdotool key space
wait_exit "$locker" 150
check "named: a key and a yes from authentication unlock with 0" test "$rc" = 0
check "named: unlocking ends orbdrift with 0" ended named

lock bare "$scratch/saver_bare"
check "bare: orbdrift has no argument" \
    test "$(tr '\0' '\n' <"/proc/$saver/cmdline" | wc -l)" = 1
kill -TERM "$locker"
wait_exit "$locker" 150
check "bare: ending the locker ends orbdrift with 0" ended bare
report
