# Sourced by the end-to-end scripts: named checks that are counted, bounded
# waits, and what a person looks at on an X screen. The sourcing script sets
# $shot to the x-screenshot tool and ends with `report`.
passed=0
failed=0

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

still_running() { kill -0 "$1" 2>/dev/null; }
window_named() { timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
pixel() { "$shot" --pixel "$1" "$2" "$3"; }

report() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
