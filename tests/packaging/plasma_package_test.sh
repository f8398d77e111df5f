#!/bin/bash
# The Plasma wallpaper's packages: lintian and rpmlint find no error, both
# hold the same files, dpkg installs the Debian one without the saver, Plasma
# lists it among the wallpaper types, the lock screen shows it as installed,
# and dpkg removes it without a trace (as root, where it is not installed).
# Usage: plasma_package_test.sh ORBDRIFT-PLASMA.DEB ORBDRIFT-PLASMA.RPM RPM-KEY X-SCREENSHOT OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" deb rpm_file key shot out -- "$@"
package=orbdrift-plasma

lintian --fail-on error "$deb" >"$out/lintian.txt" 2>&1
check "lintian reports no error" test $? -eq 0
grep -E '^[EW]:' "$out/lintian.txt"
# rpmlint checks the signature against a database of the test's own.
mkdir -p "$out/home"
HOME=$out/home rpmkeys --import "$key"
HOME=$out/home rpmlint "$rpm_file" >"$out/rpmlint.txt" 2>&1
check "rpmlint reports no error" grep -q ' 0 errors' "$out/rpmlint.txt"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort)
check "the RPM holds the Debian package's files" \
    test "$(rpm -qpl --nosignature "$rpm_file" 2>/dev/null | grep -Fx "$files")" = "$files"
check "and needs no saver: it is a package of its own" \
    sh -c "! dpkg-deb -f '$deb' Depends | grep -qw orbdrift"

skip() {
    echo "skipped: $1"
    report
    exit
}
[ "$(id -u)" -eq 0 ] || skip "installing the package needs root"
! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -qv "not-installed" ||
    skip "$package is installed here already, and stays as it is"
for file in $files; do
    [ ! -e "$file" ] || skip "$file exists already, and the package would replace it"
done
installed=no
cleanup() { [ "$installed" = no ] || dpkg -r "$package" >/dev/null 2>&1; }
trap cleanup EXIT

dpkg -i "$deb" >"$out/dpkg-install.txt" 2>&1
check "dpkg -i installs it" test $? -eq 0
installed=yes
# Installed for every user: --global, and a home of the test's own.
listed() { HOME=$out/home kpackagetool5 --type Plasma/Wallpaper --list --global | grep -qx "$1"; }
check "Plasma's package tool lists it among the wallpaper types" listed org.orbdrift.wallpaper
# The lock screen's test with nothing of the build: what it shows is installed.
mkdir -p "$out/nothing"
"$(dirname "$0")/../e2e/plasma_greeter_test.sh" "$out/nothing" "$shot" "$out/greeter" >"$out/greeter.txt" 2>&1
check "the lock screen shows it as installed (greeter.txt)" test $? -eq 0
grep -E '^FAIL' "$out/greeter.txt"

dpkg -r "$package" >"$out/dpkg-remove.txt" 2>&1
check "dpkg -r removes it" test $? -eq 0
installed=no
left=""
for file in $files /usr/share/doc/$package /usr/share/plasma/wallpapers/org.orbdrift.wallpaper; do
    [ -e "$file" ] && left="$left $file"
done
check "none of its files is left${left:+:$left}" test -z "$left"
report
