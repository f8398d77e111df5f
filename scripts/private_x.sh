# Sourced by scripts/run and the end-to-end test: start_private_x [SIZE
# [XVFB-OPTION...]] starts an Xvfb (640x480 unless given) on a display of its own, exports DISPLAY and leaves the
# server's process id in $xvfb. Numbers come from the caller's process id, so
# runs side by side do not race for one display; Xvfb's lock file settles the
# rare collision and the next attempt takes another number.
start_private_x() {
    local attempt display size=${1:-640x480}
    shift $(($# > 0 ? 1 : 0))
    for attempt in 0 1 2 3 4; do
        display=":$((300 + ($$ * 7 + attempt * 131) % 600))"
        Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp -noreset "$@" >/dev/null 2>&1 &
        xvfb=$!
        for _ in $(seq 50); do
            kill -0 "$xvfb" 2>/dev/null || break
            if DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1; then
                export DISPLAY=$display
                return 0
            fi
            sleep 0.1
        done
        kill "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
    done
    return 1
}
