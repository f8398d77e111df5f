#!/bin/bash
# orbdrift on battery, asked to save power, and after a long while, in the X
# display mode: the power source comes from a mock of UPower on a D-Bus daemon
# of the test's own, standing in for the system bus, and the power profile
# from a mock of the power-profiles daemon beside it, each switched while the
# saver runs; the long while comes from a clock the test sets ahead.
# Usage: power_test.sh ORBDRIFT X-SCREENSHOT OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" saver shot out -- "$@"
export XDG_CONFIG_HOME="$out/config" # the test's own settings, not the person's
start_test_x

bus=""
mock=""
profiles=""
tracer=""
pid=""
stop() { [ -n "$1" ] && kill "$1" 2>/dev/null && wait "$1" 2>/dev/null; }
clean_up() {
    stop "$pid"
    stop "$tracer"
    stop "$profiles"
    stop "$mock"
    stop "$bus"
    stop "$xvfb"
}
trap clean_up EXIT

. "$(dirname "$0")/../support/upower_mock.sh"
start_upower_mock "$out" || { echo "FAIL: no UPower mock"; exit 1; }

# start_saver NAME [VARIABLE=VALUE...] [OPTION...]: the saver on the whole
# screen with those variables, its main loop's waits and its calls on the bus
# traced into $out/NAME.strace; stderr in $out/NAME.err.
start_saver() {
    local name=$1 variables=()
    shift
    while [ $# -gt 0 ] && [[ $1 == *=* ]]; do
        variables+=("$1")
        shift
    done
    strace -qq -s 400 -o "$out/$name.strace" -e trace=poll,sendmsg \
        env "${variables[@]}" "$saver" --root "$@" 2>"$out/$name.err" &
    tracer=$!
    # strace forks children of its own to try the kernel's ptrace first: the
    # saver is the child that runs the saver's program.
    eventually traced_saver
}
traced_saver() { pid=$(pgrep -P "$tracer" -x "$(basename "$saver")") && [ -n "$pid" ]; }
# Ends it by SIGTERM, within $1 tenths of a second if given; its exit code is then in $rc.
end_saver() {
    kill -TERM "$pid"
    pid=""
    wait_exit "$tracer" "${1:-50}"
    tracer=""
}

# The property whose reads mark when the saver heard news: UPower's, later the
# power profile's.
read_of=OnBattery
# How long the main loop waited each time, after the saver's Nth read of
# it: the loop alone waits on three descriptors (end requests, X, bus).
waits_after() {
    awk -v n="$2" -v read="$read_of" '/^sendmsg/ && $0 ~ read {reads++; next}
        reads >= n && /^poll\(/ && match($0, /\], 3, -?[0-9]+\)/) {
            print substr($0, RSTART + 6, RLENGTH - 7)
        }' "$1"
}
# paced TRACE N LONGEST_FROM LONGEST_TO: of the last 100 waits after the Nth read,
# the longest between those bounds. A wait is never longer than the timer's
# interval, so at 100 frames a second none is over 10 ms, and at 30 frames a
# second some, after a frame drawn quickly, are.
paced() {
    local longest
    longest=$(waits_after "$1" "$2" | tail -100 | sort -n | awk 'END {if (NR >= 100) print}')
    [ -n "$longest" ] && [ "$longest" -ge "$3" ] && [ "$longest" -le "$4" ]
}
reads() { grep -c "^sendmsg.*$read_of" "$1"; }
# read_times TRACE N: the saver has read it N times or more, counted
# again at each try of eventually.
read_times() { [ "$(reads "$1")" -ge "$2" ]; }
# all_black WINDOW Y X...: the pixels at those places are black.
all_black() {
    local window=$1 y=$2 x
    shift 2
    for x in "$@"; do black "$window" "$x" "$y" || return 1; done
}
row=(240 100 200 300 400 500)

# The default on battery: 30 frames a second. Started on battery, to mains,
# and back. The saver reads OnBattery once as it starts.
on_battery true
start_saver slower
trace=$out/slower.strace
check "started on battery, it draws" eventually shows_noise root "${row[@]}"
check "at 30 frames a second" eventually paced "$trace" 1 11 34
on_battery false
check "on mains it reads the power source again" eventually read_times "$trace" 2
check "and goes back to 100 frames a second" eventually paced "$trace" 2 0 10
check "still drawing" eventually shows_noise root "${row[@]}"
on_battery true
check "on battery again, 30 frames a second" eventually paced "$trace" 3 11 34
end_saver
check "it ends with 0 on SIGTERM (exit $rc)" test "$rc" = 0

# A black screen on battery, as the settings may ask.
on_battery false
start_saver black --on-battery black
check "--on-battery black on mains draws" eventually shows_noise root "${row[@]}"
on_battery true
check "on battery the picture goes black" eventually all_black root "${row[@]}"
on_battery false
check "on mains it comes back" eventually shows_noise root "${row[@]}"
# A UPower that restarts tells of no change: the saver reads it again.
stop "$mock"; start_mock true
check "UPower restarted on battery, the picture goes black" eventually all_black root "${row[@]}"
stop "$mock"; start_mock false
check "restarted on mains, it comes back" eventually shows_noise root "${row[@]}"
end_saver
check "it ends with 0 on SIGTERM (exit $rc)" test "$rc" = 0

# Asked to save power on mains, as on battery: the power-saver profile slows
# it to 30 frames a second, and balanced brings it back; with the setting
# "the same as on mains" the profile changes nothing.
on_battery false
start_profiles_mock power-saver || { echo "FAIL: no power profiles mock"; exit 1; }
read_of=ActiveProfile
start_saver saver-profile
trace=$out/saver-profile.strace
check "power-saver on mains: 30 frames a second" eventually paced "$trace" 1 11 34
set_profile balanced
check "balanced: it reads the profile again" eventually read_times "$trace" 2
check "and goes back to 100 frames a second" eventually paced "$trace" 2 0 10
end_saver
start_saver saver-same --on-battery same
check "power-saver, on battery the same: 100 frames a second" eventually paced \
    "$out/saver-same.strace" 1 0 10
end_saver
check "it ends with 0 on SIGTERM (exit $rc)" test "$rc" = 0
stop "$profiles"
profiles=""
read_of=OnBattery

# Without UPower, without a bus or with one that never answers: mains, and nothing said of it.
stop "$mock"
mock=""
for case in "no-upower $DBUS_SYSTEM_BUS_ADDRESS" "no-bus unix:path=$out/no-such-bus" \
    "stopped-bus $DBUS_SYSTEM_BUS_ADDRESS"; do
    set -- $case
    [ "$1" = stopped-bus ] && kill -STOP "$bus"
    start_saver "$1" DBUS_SYSTEM_BUS_ADDRESS="$2"
    check "$1: it draws at 100 frames a second" eventually paced "$out/$1.strace" 0 0 10
    check "$1: and shows the picture" eventually shows_noise root "${row[@]}"
    end_saver 10
    check "$1: it ends with 0 (exit $rc)" test "$rc" = 0
    check "$1: and says nothing on stderr" test ! -s "$out/$1.err"
done
kill -CONT "$bus"

# After the settings' delay: black once, and no frame timer any more, only the
# look at the monitor's power once a second. The clock is set ahead, not
# waited for.
faketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
if [ -r "$faketime" ]; then
    echo "+0" >"$out/clock"
    # A sanitized build's runtime wants to be the first library; the clock's
    # comes before it here, which is harmless for this check.
    start_saver black-after LD_PRELOAD="$faketime" FAKETIME_TIMESTAMP_FILE="$out/clock" \
        FAKETIME_NO_CACHE=1 ASAN_OPTIONS=verify_asan_link_order=0 --black-after 10
    check "--black-after 10 draws at first" eventually shows_noise root "${row[@]}"
    echo "+11m" >"$out/clock"
    check "eleven minutes later the picture is black" eventually all_black root "${row[@]}"
    longest_wait() { [ "$(waits_after "$out/black-after.strace" 0 | sort -n | tail -1)" -ge 500 ]; }
    check "and the frame timer has stopped" eventually longest_wait
    end_saver
    check "it ends with 0 on SIGTERM (exit $rc)" test "$rc" = 0
else
    echo "skipped: the clock set ahead needs libfaketime (package faketime)"
fi

# A bus that dies means mains, silently and at no cost, on X and on Wayland.
start_mock true
start_saver killed-bus --on-battery black
check "killed bus: black on battery" eventually all_black root "${row[@]}"
if command -v sway >/dev/null; then
    . "$(dirname "$0")/../support/wayland_session.sh"
    . "$(dirname "$0")/../support/wayland_pictures.sh"
    start_wayland_user "$saver"
    trap 'clean_up; end_wayland_user' EXIT
    start_sway && user_command && run_as+=(DBUS_SYSTEM_BUS_ADDRESS="$DBUS_SYSTEM_BUS_ADDRESS")
    strace -qq -o "$out/wayland.strace" -e trace=poll "${run_as[@]}" "$program" --wayland \
        --on-battery black 2>"$out/wayland.err" &
    check "killed bus: Wayland runs" eventually grep -qs '\], 3, ' "$out/wayland.strace"
    check "killed bus: Wayland started on battery is black" eventually output_black HEADLESS-1
fi
{ kill -KILL "$bus" && wait "$bus"; } 2>/dev/null; lines=$(wc -l <"$out/wayland.strace" 2>/dev/null)
check "killed bus: X draws" eventually shows_noise root "${row[@]}"
end_saver
[ -s "$out/wayland.strace" ] && check "killed bus: Wayland draws" eventually output_shows HEADLESS-1
[ -s "$out/wayland.strace" ] && check "without polling what the bus left, or a word" test \
    "$(tail -n +"$lines" "$out/wayland.strace" | grep -c NVAL)" = 0 -a ! -s "$out/wayland.err"

report
