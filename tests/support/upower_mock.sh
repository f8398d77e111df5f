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
#   start_profiles_mock P   the power-profiles daemon beside it, with that
#                           ActiveProfile; sets $profiles
#   set_profile P           its ActiveProfile, told of as by on_battery
. "$(dirname "${BASH_SOURCE[0]}")/private_bus.sh"

start_upower_mock() {
    local dir=$1
    start_private_bus "$dir" || return 1
    DBUS_SYSTEM_BUS_ADDRESS=$bus_address
    export DBUS_SYSTEM_BUS_ADDRESS
    rm -f "$dir/mock.log"
    mock_log=$dir/mock.log
    profiles_log=$dir/profiles.log
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

start_profiles_mock() {
    "$python" -m dbusmock --system --template power_profiles_daemon \
        -p "{\"ActiveProfile\": \"$1\"}" -l "$profiles_log" >/dev/null 2>&1 &
    profiles=$!
    eventually profile Get || { echo "the power profiles mock is not on the bus" >&2; return 1; }
}
profile() {
    dbus-send --system --print-reply --reply-timeout=2000 --dest=net.hadess.PowerProfiles \
        /net/hadess/PowerProfiles org.freedesktop.DBus.Properties."$1" \
        string:net.hadess.PowerProfiles string:ActiveProfile ${2:+variant:string:$2} >/dev/null 2>&1
}
set_profile() {
    local told
    told=$(profiles_told "$1")
    profile Set "$1" && eventually more_profiles_told "$1" "$told"
}
profiles_told() { grep -c "PropertiesChanged .*\"ActiveProfile\": .$1" "$profiles_log"; }
more_profiles_told() { [ "$(profiles_told "$1")" -gt "$2" ]; }
