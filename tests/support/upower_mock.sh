# Sourced by the power test and the benchmark, after end_to_end_checks.sh: a
# D-Bus daemon of the caller's own standing in for the system bus, with
# python3-dbusmock's UPower on it. The caller ends both by their ids ($bus,
# $mock) when it ends.
#
#   start_upower_mock DIR   the daemon's configuration and logs in DIR;
#                           exports DBUS_SYSTEM_BUS_ADDRESS; sets $bus, $mock
#   start_mock true|false   UPower again, after its end, with that OnBattery
#   on_battery true|false   UPower's OnBattery, once the mock has told the
#                           bus of the change, as UPower does
. "$(dirname "${BASH_SOURCE[0]}")/private_bus.sh"

start_upower_mock() {
    local dir=$1
    start_private_bus "$dir" || return 1
    DBUS_SYSTEM_BUS_ADDRESS=$bus_address
    export DBUS_SYSTEM_BUS_ADDRESS
    rm -f "$dir/mock.log"
    mock_log=$dir/mock.log
    start_mock false
}
start_mock() {
    "$python" -m dbusmock --system --template upower -p "{\"OnBattery\": $1}" -l "$mock_log" \
        >/dev/null 2>&1 &
    mock=$!
    eventually upower Get || { echo "the UPower mock is not on the bus" >&2; return 1; }
}

upower() {
    dbus-send --system --print-reply --reply-timeout=2000 --dest=org.freedesktop.UPower \
        /org/freedesktop/UPower org.freedesktop.DBus.Properties."$1" \
        string:org.freedesktop.UPower string:OnBattery ${2:+variant:boolean:$2} >/dev/null 2>&1
}

# The saver hears of a change only by the signal, so the signal is waited for.
on_battery() {
    local told
    told=$(signals_told "$1")
    upower Set "$1" && eventually more_signals_told "$1" "$told"
}
signals_told() { grep -c "PropertiesChanged .*\"OnBattery\": ${1^}" "$mock_log"; }
# Read again at each try: a count given to eventually is read only once.
more_signals_told() { [ "$(signals_told "$1")" -gt "$2" ]; }
