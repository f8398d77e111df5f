# Sourced by the Wine tests after end_to_end_checks.sh: start_wine DIR starts
# a private X server and a fresh Wine prefix in DIR/prefix; both end when the
# sourcing script exits.

start_wine() {
    start_test_x
    export WINEPREFIX="$1/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    trap 'wineserver -k 2>/dev/null; kill "$xvfb" 2>/dev/null' EXIT
    wineboot -i >/dev/null 2>&1
    # Unmanaged windows close at once; managed ones wait for a window manager.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
}
