# Sourced by scripts/run and the end-to-end test: start_private_x [SIZE
# [XVFB-OPTION...]] starts an Xvfb (640x480 unless given) on a display of its
# own, exports DISPLAY and leaves the server's process id in $xvfb.
# The server picks a free display itself and names it once it takes
# connections (-displayfd): a number guessed beforehand could be another
# run's server, answering in the place of one that failed to start.
start_private_x() {
    local size=${1:-640x480} named number=""
    shift $(($# > 0 ? 1 : 0))
    named=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" 3>"$named" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
        number=$(head -1 "$named")
        [ -n "$number" ] || ! kill -0 "$xvfb" 2>/dev/null && break
        sleep 0.1
    done
    rm -f "$named"
    [ -n "$number" ] || { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; return 1; }
    export DISPLAY=:$number
}
