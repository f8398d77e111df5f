# Sourced after end_to_end_checks.sh: a D-Bus daemon of the caller's own, to
# stand in for the system or the session bus, and a Python that has
# python3-dbusmock to serve mocks on it. The caller ends the daemon by its id.
#
#   start_private_bus DIR   the daemon's configuration and log in DIR; sets
#                           $bus (its id), $bus_address and $python
start_private_bus() {
    local dir=$1
    python=""
    # Debian's mock library lives with Debian's Python, which need not be
    # first on PATH.
    for candidate in /usr/bin/python3 python3; do
        "$candidate" -c 'import dbusmock' 2>/dev/null && python=$candidate && break
    done
    [ -n "$python" ] || { echo "no python3 with dbusmock" >&2; return 1; }
    # An abstract socket, named for this run: nothing is left on disk however
    # the daemon ends, even by SIGKILL when a test times out.
    local name
    name=orbdrift-bus-$$-$(date +%s%N)
    cat >"$dir/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <listen>unix:abstract=$name</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
    rm -f "$dir/bus.address"
    dbus-daemon --config-file="$dir/bus.conf" --nofork --print-address=1 \
        >"$dir/bus.address" 2>"$dir/bus.log" &
    bus=$!
    eventually test -s "$dir/bus.address" || { echo "no D-Bus daemon" >&2; return 1; }
    bus_address=$(head -1 "$dir/bus.address")
}
