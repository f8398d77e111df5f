# Sourced by the Plasma tests after the prologue ($build, $out): start_plasma_session
# SIZE starts Xvfb, a home of the test's own that finds the build's plugin, and
# a session bus (abstract, so nothing stays on disk) that starts Plasma's
# daemons here. What the caller started ($started) and the bus go at exit.
start_plasma_session() {
    plasma_scratch=$(mktemp -d /tmp/orbdrift-plasma.XXXXXX)
    plasma_bus="" started=""
    trap end_plasma_session EXIT
    start_private_x "$1" || { echo "FAIL: no X server"; exit 1; }
    mkdir -p "$plasma_scratch/config" "$plasma_scratch/home" "$plasma_scratch/runtime"
    chmod 700 "$plasma_scratch/runtime"
    export HOME=$plasma_scratch/home XDG_CONFIG_HOME=$plasma_scratch/config \
        XDG_RUNTIME_DIR=$plasma_scratch/runtime XDG_DATA_DIRS=$build/share:/usr/share \
        QML2_IMPORT_PATH=$build/qml
    dbus-daemon --session --nofork --address="unix:abstract=orbdrift-plasma-$$-$(date +%s%N)" \
        --print-address=1 >"$plasma_scratch/bus.address" 2>"$out/bus.log" &
    plasma_bus=$!
    eventually test -s "$plasma_scratch/bus.address" || { echo "FAIL: no D-Bus daemon"; exit 1; }
    DBUS_SESSION_BUS_ADDRESS=$(head -1 "$plasma_scratch/bus.address")
    export DBUS_SESSION_BUS_ADDRESS
}
end_plasma_session() {
    local pid
    for pid in $started; do
        kill "$pid" 2>/dev/null && wait_exit "$pid" 100
    done
    if [ -n "$plasma_bus" ]; then
        for pid in $(pgrep -P "$plasma_bus"); do kill "$pid" 2>/dev/null; done
        kill "$plasma_bus" 2>/dev/null
    fi
    kill "$xvfb" 2>/dev/null
    rm -rf "$plasma_scratch"
}
differ() { ! compare -metric AE "$1" "$2" null: 2>/dev/null; }
# moving AREA SECONDS: two screenshots of an area (WxH+X+Y) so far apart differ.
moving() {
    "$shot" "$out/a.png" && sleep "$2" && "$shot" "$out/b.png" && differ "$out/a.png[$1]" "$out/b.png[$1]"
}
