#!/bin/bash
# The Debian package as a user gets it: lintian finds no error in it, dpkg
# installs it, the installed program runs as a display mode in a window it
# is handed, and dpkg removes it without a trace. Installing needs root; on
# a machine where orbdrift is already installed the test leaves it alone.
# Usage: deb_test.sh ORBDRIFT.DEB X-HOST X-SCREENSHOT OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" deb host shot out -- "$@"
export XDG_CONFIG_HOME="$out/config" # the test's own settings, not the person's

version=$(dpkg-deb -f "$deb" Version)
lintian --fail-on error "$deb" >"$out/lintian.txt" 2>&1
check "lintian reports no error" test $? -eq 0
grep -E '^[EW]:' "$out/lintian.txt"

if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: installing the package needs root"
    report
    exit
fi
# Installing over someone's orbdrift and then removing it would take theirs.
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }')
if dpkg-query -W -f='${Status}' orbdrift 2>/dev/null | grep -qv "not-installed"; then
    echo "skipped: orbdrift is installed here already, and its package stays as it is"
    report
    exit
fi
for file in $files; do
    if [ -e "$file" ]; then
        echo "skipped: $file exists already, and the package would replace it"
        report
        exit
    fi
done

installed=no
cleanup() {
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    [ "$installed" = yes ] && dpkg -r orbdrift >/dev/null 2>&1
}
trap cleanup EXIT

dpkg -i "$deb" >"$out/dpkg-install.txt" 2>&1
check "dpkg -i installs it" test $? -eq 0
installed=yes
check "dpkg lists it as installed, version $version" \
    test "$(dpkg-query -W -f='${Status} ${Version}' orbdrift)" = "install ok installed $version"
program=/usr/libexec/xscreensaver/orbdrift
check "the program is among the daemon's display modes" test -x "$program"
check "with its settings entry" grep -q 'arg="--delay %"' /usr/share/xscreensaver/config/orbdrift.xml
check "and its man pages, which man finds and reads without a warning" test -z "$(man --warnings -l \
    /usr/share/man/man6/orbdrift.6.gz /usr/share/man/man1/orbdrift-add-to-xscreensaver.1.gz \
    /usr/share/man/man1/orbdrift-picture.1.gz 2>&1 >/dev/null)"
check "orbdrift itself is on a login shell's PATH, the daemon's program" \
    env -i HOME="$out" bash -lc 'orbdrift --help >/dev/null && [ "$(readlink -f "$(command -v orbdrift)")" = '"$program"' ]'
check "the lock screen's picture command is on the PATH and writes a picture" \
    sh -c "orbdrift-picture --size 32x24 -o '$out/lock.png' && [ -s '$out/lock.png' ]"
check "and its theme for MATE's screen saver" \
    grep -qx "Exec=orbdrift --root" /usr/share/applications/screensavers/orbdrift.desktop
check "the copyright file is there" test -s /usr/share/doc/orbdrift/copyright
check "the changelog's newest entry is this version" \
    sh -c "zcat /usr/share/doc/orbdrift/changelog.gz | head -1 | grep -qF 'orbdrift ($version)'"
check "the installed program reports $version" sh -c "'$program' --version | grep -qF '$version'"
check "and has its Wayland mode" sh -c "WAYLAND_DISPLAY=no-such-compositor '$program' --wayland 2>&1 |
    grep -q 'cannot connect to a Wayland compositor'"

# As the settings program's preview runs it: in a window it names.
start_private_x || { echo "FAIL: no X server"; exit 1; }
coproc HOST { "$host"; }
read -r -t 10 id <&"${HOST[0]}"
"$program" --window-id "$id" &
pid=$!
sleep 1.5
"$shot" "$out/window-id.png" "$id"
check "it draws in the host's window" test "$(pixel "$id" 100 75)" != "255 255 255"
eval "exec ${HOST[1]}>&-"
wait_exit "$pid" 30
check "and ends with 0 when the window goes (exit $rc)" test "$rc" = 0

"$(dirname "$0")/../e2e/mate_screensaver_test.sh" "$shot" "$out/mate" >"$out/mate.txt" 2>&1
check "MATE's screen saver runs it as its theme (mate.txt)" test $? -eq 0
grep -E '^(FAIL|skipped)' "$out/mate.txt"
"$(dirname "$0")/../e2e/xscreensaver_daemon_test.sh" --installed "$shot" "$out/daemon" >"$out/daemon.txt" 2>&1
check "the X screen-saver daemon lists it after orbdrift-add-to-xscreensaver (daemon.txt)" test $? -eq 0
grep -E '^FAIL' "$out/daemon.txt"

dpkg -r orbdrift >"$out/dpkg-remove.txt" 2>&1
check "dpkg -r removes it" test $? -eq 0
installed=no
check "dpkg knows it no more" sh -c '! dpkg -L orbdrift >/dev/null 2>&1'
left=""
for file in $files /usr/share/doc/orbdrift; do
    [ -e "$file" ] && left="$left $file"
done
check "none of its files is left${left:+:$left}" test -z "$left"

report
