# Sourced by the Wine tests: start_wine DIR starts a private X server and a
# fresh Wine prefix in DIR/prefix; both end when the sourcing script exits.
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/private_x.sh"

start_wine() {
    start_private_x || { echo "FAIL: no X server"; exit 1; }
    export WINEPREFIX="$1/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    trap 'wineserver -k 2>/dev/null; kill "$xvfb" 2>/dev/null' EXIT
    wineboot -i >/dev/null 2>&1
    # Unmanaged windows close at once; managed ones wait for a window manager.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
}
