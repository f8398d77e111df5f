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

# mock_property SERVICE PROPERTY Get|Set [TYPE:VALUE]: a property of the mock
# of SERVICE, whose object is named as the service is.
mock_property() {
    dbus-send --system --print-reply --reply-timeout=2000 --dest="$1" "/${1//.//}" \
        org.freedesktop.DBus.Properties."$3" string:"$1" string:"$2" ${4:+variant:$4} >/dev/null 2>&1
}
upower() { mock_property org.freedesktop.UPower OnBattery "$1" ${2:+boolean:$2}; }
profile() { mock_property net.hadess.PowerProfiles ActiveProfile "$1" ${2:+string:$2}; }

# The saver hears of a change only by the signal, so the signal is waited for.
on_battery() { set_and_told upower "$mock_log" "\"OnBattery\": ${1^}" "$1"; }
set_profile() { set_and_told profile "$profiles_log" "\"ActiveProfile\": .$1" "$1"; }
# set_and_told PROPERTY LOG PATTERN VALUE
set_and_told() {
    local before
    before=$(told "$2" "$3")
    "$1" Set "$4" && eventually more_told "$2" "$3" "$before"
}
told() { grep -c "PropertiesChanged .*$2" "$1"; }
# Read again at each try: a count given to eventually is read only once.
more_told() { [ "$(told "$1" "$2")" -gt "$3" ]; }

start_profiles_mock() {
    "$python" -m dbusmock --system --template power_profiles_daemon \
        -p "{\"ActiveProfile\": \"$1\"}" -l "$profiles_log" >/dev/null 2>&1 &
    profiles=$!
    eventually profile Get || { echo "the power profiles mock is not on the bus" >&2; return 1; }
}
