# Sourced by the end-to-end scripts: named checks that are counted, bounded
# waits, and what a person looks at on an X screen. The sourcing script sets
# $shot to the x-screenshot tool and ends with `report`.
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/private_x.sh"

passed=0
failed=0
# A script ended by a signal still runs its EXIT trap, which ends what it
# started: servers, scratch users, mocks.
trap 'exit 1' INT TERM HUP

# A private X server (start_private_x's arguments) that goes when the script
# ends; without one the script cannot check anything.
start_test_x() {
    start_private_x "$@" || { echo "FAIL: no X server $*"; exit 1; }
    trap 'kill "$xvfb" 2>/dev/null' EXIT
}

check() {
    local name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok: $name"
    else
        failed=$((failed + 1))
        echo "FAIL: $name"
    fi
}

# Waits (at most $2 tenths of a second, 10 s unless given) for process $1 to end; then its exit
# code is in $rc and the wait in $waited_ms, or rc=timeout and the process is killed.
# Whether it has ended is asked before the time is: a script kept off the CPU
# past the deadline must not call a process that ended in time unended.
wait_exit() {
    local pid=$1 deadline start
    start=$(date +%s%N)
    deadline=$((start + ${2:-100} * 100000000))
    while :; do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            rc=$?
            waited_ms=$((($(date +%s%N) - start) / 1000000))
            return
        fi
        [ "$(date +%s%N)" -lt "$deadline" ] || break
        sleep 0.01
    done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    rc=timeout
}

# Retries a command for up to 15 s: a loaded machine may take that long to
# draw a first frame, and a check should wait for the picture, not guess.
eventually() {
    local tenths=150
    until "$@"; do
        tenths=$((tenths - 1))
        [ "$tenths" -gt 0 ] || return 1
        sleep 0.1
    done
}

# Sends SIGTERM to process $1 as soon as it runs program $2 and catches the
# signal, $3 seconds later if given: the earliest moment a saver can promise
# to end with 0. 10 s at most.
term_when_caught() {
    local pid=$1 program mask tries=10000
    program=$(readlink -f "$2")
    until [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$program" ] &&
        mask=$(sed -n 's/^SigCgt:\t//p' "/proc/$pid/status" 2>/dev/null) &&
        (((0x$mask >> 14) & 1)); do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] && kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.001
    done
    sleep "${3:-0}"
    kill -TERM "$pid"
}
# "${end_signals_blocked[@]}" COMMAND...: COMMAND started with SIGTERM,
# SIGINT and SIGHUP blocked, as a careless launcher leaves them.
end_signals_blocked=(python3 -c 'import os, signal, sys
signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGTERM, signal.SIGINT, signal.SIGHUP})
os.execvp(sys.argv[1], sys.argv[1:])')
# catches_term_first LOG COMMAND...: COMMAND, traced into LOG until it has
# connected to its display server, takes SIGTERM before it opens any settings
# file or connects, and then ends with 0 on it.
catches_term_first() {
    local log=$1 tracer saver caught opened display_socket='^connect\(.*(X11-unix|wayland-)'
    shift
    rm -f "$log"
    strace -qq -o "$log" -e trace=rt_sigaction,openat,connect "$@" 2>/dev/null &
    tracer=$!
    eventually grep -qs -E "$display_socket" "$log"
    saver=$(pgrep -P "$tracer")
    kill -TERM "$saver"
    wait_exit "$tracer" 50
    caught=$(grep -n -m1 '^rt_sigaction(SIGTERM, {sa_handler=0x' "$log" | cut -d: -f1)
    opened=$(grep -n -m1 -E "orbdrift/settings|$display_socket" "$log" | cut -d: -f1)
    [ "$rc" = 0 ] && [ -n "$caught" ] && [ -n "$opened" ] && [ "$caught" -lt "$opened" ]
}
still_running() { kill -0 "$1" 2>/dev/null; }
window_named() { timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
pixel() { "$shot" --pixel "$1" "$2" "$3"; }
# shows_noise WINDOW Y X...: the pixels at those places have five colours or more.
shows_noise() {
    local window=$1 y=$2
    shift 2
    [ "$(for x in "$@"; do pixel "$window" "$x" "$y"; done | sort -u | wc -l)" -ge 5 ]
}
# black WINDOW X Y: that pixel is black, as a band is.
black() { [ "$(pixel "$1" "$2" "$3")" = "0 0 0" ]; }
# grain PICTURE: how much neighbouring pixels in its middle differ, 0 to 1;
# fails while the middle is one flat colour (nothing drawn there yet).
grain() {
    local w h crop
    read -r w h < <(identify -format '%w %h' "$1")
    crop="$((w * 2 / 3))x$((h / 5))+$((w / 6))+$((h * 2 / 5))"
    [ "$(convert "$1" -crop "$crop" -colorspace gray -format '%[fx:standard_deviation > 0.02]' info:)" = 1 ] &&
        convert "$1" -crop "$crop" \( +clone -roll +1+0 \) -compose difference -composite \
            -colorspace gray -format '%[fx:mean]' info:
}
# A smooth texture (SMOKE, FOG) has a fine grain, the default noise (FLECK) a coarse one.
smooth() { local g; g=$(grain "$1") && awk "BEGIN {exit !($g < 0.02)}"; }
rough() { local g; g=$(grain "$1") && awk "BEGIN {exit !($g >= 0.02)}"; }
# shot_is CHECK WINDOW FILE: a screenshot of WINDOW, kept in FILE, passes CHECK.
shot_is() { "$shot" "$3" "$2" && "$1" "$3"; }
# shows WINDOW X Y: that pixel is drawn, not the white of an empty host.
shows() { [ "$(pixel "$1" "$2" "$3")" != "255 255 255" ]; }

# cpu_share PID SECONDS: the share of one core, in per cent, that process PID
# spent on the CPU over the next SECONDS, from its own user and system time.
cpu_share() {
    local before after
    before=$(awk '{print $14 + $15}' "/proc/$1/stat") && sleep "$2" &&
        after=$(awk '{print $14 + $15}' "/proc/$1/stat") &&
        awk -v ticks="$((after - before))" -v hz="$(getconf CLK_TCK)" -v s="$2" \
            'BEGIN {printf "%.1f", 100 * ticks / hz / s}'
}
below() { awk "BEGIN {exit !($1 < $2)}"; }

report() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
