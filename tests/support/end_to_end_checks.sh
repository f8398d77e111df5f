# Sourced by the end-to-end scripts: named checks that are counted, bounded
# waits, and what a person looks at on an X screen. The sourcing script sets
# $shot to the x-screenshot tool and ends with `report`.
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/private_x.sh"

passed=0
failed=0

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
wait_exit() {
    local pid=$1 deadline start
    start=$(date +%s%N)
    deadline=$((start + ${2:-100} * 100000000))
    while [ "$(date +%s%N)" -lt "$deadline" ]; do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            rc=$?
            waited_ms=$((($(date +%s%N) - start) / 1000000))
            return
        fi
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

# Arms a SIGTERM behind the pipe $1 made in the settings file's place, for
# the saver whose pid is then written to $2: the pipe's writer waits before
# the saver starts, so the saver's opening of the pipe as it reads its
# settings (which it refuses at once) lets it through; $3 seconds later, if
# given, the saver is sent SIGTERM. 10 s at most for a saver that never reads.
arm_early_term() {
    rm -f "$2"
    timeout 10 sh -c 'exec 3>"$1" && sleep "$3" && kill -TERM "$(cat "$2")" 2>/dev/null' \
        sh "$1" "$2" "${3:-0}" &
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

report() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
