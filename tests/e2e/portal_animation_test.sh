#!/bin/bash
# GNOME's wish for animation, as the host layer reads it at a saver's start:
# from the desktop portal on a session bus of the test's own, where
# python3-dbusmock stands in for the portal, a newer one with ReadOne, an
# older one with only Read, and one that never answers, as a bus may not.
# Usage: portal_animation_test.sh DESKTOP-ANIMATION OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" probe out -- "$@"
export XDG_CONFIG_HOME="$out/config" # KDE's file, of which there is none here

bus=""
mock=""
# A stopped mock takes its SIGTERM only once it runs again.
stop() { [ -n "$1" ] && kill -CONT "$1" 2>/dev/null && kill "$1" 2>/dev/null && wait "$1" 2>/dev/null; }
trap 'stop "$mock"; stop "$bus"' EXIT

. "$(dirname "$0")/../support/private_bus.sh"
start_private_bus "$out" || { echo "FAIL: no private bus"; exit 1; }
export DBUS_SESSION_BUS_ADDRESS=$bus_address

# portal METHOD VALUE: a portal that knows only METHOD and only GNOME's key,
# which it answers with VALUE in a variant, or for Read in a variant in a variant.
portal() {
    local variants=1 desktop=(org.freedesktop.portal.Desktop /org/freedesktop/portal/desktop)
    [ "$1" = Read ] && variants=2
    stop "$mock"
    "$python" -m dbusmock --session "${desktop[@]}" org.freedesktop.portal.Settings \
        >"$out/mock.log" 2>&1 &
    mock=$!
    eventually dbus-send --session --print-reply --dest="${desktop[@]}" \
        org.freedesktop.DBus.Mock.AddMethod string:org.freedesktop.portal.Settings string:"$1" \
        string:ss string:v "string:assert args == ['org.gnome.desktop.interface', 'enable-animations']
ret = dbus.Boolean($2, variant_level=$variants)" >/dev/null 2>&1
}
# answers WORD: the host layer answers animation WORD, and $waited_ms is how
# long that took.
answers() {
    local start answer
    start=$(date +%s%N)
    answer=$("$probe") && waited_ms=$((($(date +%s%N) - start) / 1000000)) && [ "$answer" = "$1" ]
}

for case in "ReadOne False off" "ReadOne True on" "Read False off" "Read True on"; do
    set -- $case
    portal "$1" "$2"
    check "$1 answering enable-animations $2: animation $3" answers "$3"
done
answered_ms=$waited_ms
# Stopped, the portal never answers; then the bus never does either. Unbounded,
# the wait would be sd-bus's own, 25 s.
for stopped in mock bus; do
    kill -STOP "${!stopped}"
    check "with the $stopped stopped: animation on" answers on
    check "and far sooner than sd-bus's 25 s (${waited_ms} ms, ${answered_ms} ms answered)" \
        test "$waited_ms" -le $((answered_ms + 5000))
done
report
