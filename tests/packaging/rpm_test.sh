#!/bin/bash
# The RPM as a Fedora or openSUSE user gets it: rpmlint finds no error, it
# is signed with the key given, holds the Debian package's files at the same
# places, needs the libraries
# the program links (by soname, as those systems provide them), and an
# install into a scratch root puts every file there and a removal takes
# every file away again. The scratch root is the test's own, so this needs
# no root and leaves the machine's files alone.
# Usage: rpm_test.sh ORBDRIFT.RPM ORBDRIFT.DEB PUBLIC-KEY OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" rpm_file deb key out -- "$@"
root=$out/root
trap 'rm -rf "$root"' EXIT

version=$(dpkg-deb -f "$deb" Version)
# rpmlint checks the signature against the keys of the user's own rpm
# database, on Debian in the home folder: one of the test's own, with the key.
mkdir -p "$out/home"
HOME=$out/home rpmkeys --import "$key"
HOME=$out/home rpmlint "$rpm_file" >"$out/rpmlint.txt" 2>&1
check "rpmlint reports no error" grep -q ' 0 errors' "$out/rpmlint.txt"
grep -E '^[^ ]+: [EW]: ' "$out/rpmlint.txt"

query() { rpm -qp --nosignature "$@" "$rpm_file" 2>/dev/null; }
check "it is orbdrift $version, release 1, for x86_64" \
    test "$(query --qf '%{NAME} %{VERSION}-%{RELEASE} %{ARCH}')" = "orbdrift $version-1 x86_64"
check "under the MIT licence" test "$(query --qf '%{LICENSE}')" = MIT
check "its changelog's newest entry is this version" \
    sh -c "rpm -qp --nosignature --changelog '$rpm_file' 2>/dev/null | head -1 | grep -qE -- ' - $version-1\$'"
check "it suggests the screen-saver daemon" test "$(query --suggests)" = xscreensaver

# Files only, as the packages' folders differ by the owners each system has.
query --qf '[%{FILEMODES:perms} %{FILENAMES}\n]' | awk '$1 !~ /^d/ { print $2 }' | sort >"$out/rpm-files.txt"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort >"$out/deb-files.txt"
check "it holds the Debian package's files at the same places" \
    diff -u "$out/deb-files.txt" "$out/rpm-files.txt"
check "the copyright file is its licence" \
    test "$(query --licensefiles)" = /usr/share/doc/orbdrift/copyright
check "and owns no folder of the filesystem's" \
    sh -c "! rpm -qp --nosignature -l '$rpm_file' | grep -qxE '/usr(/bin|/libexec|/share(/man(/man[16])?|/doc|/applications)?)?'"

query --requires >"$out/requires.txt"
check "and no package by a Debian name" sh -c "! grep -qE '^lib[^ ]*[0-9]\$|^libc6|^libstdc\+\+6' '$out/requires.txt'"
check "it runs nothing when installed or removed" \
    test -z "$(query --scripts)"

# Installed into a scratch root and removed again, its database where
# Fedora's is (Debian's rpm keeps one in the home folder). Debian's rpm
# refuses to install without --force-debian.
mkdir -p "$root"
in_root=(--root "$root" --dbpath /var/lib/rpm)
rpm "${in_root[@]}" --initdb
rpmkeys "${in_root[@]}" --import "$key"
check "its signature is the key's" \
    sh -c "rpmkeys $(printf '%q ' "${in_root[@]}") --checksig '$rpm_file' | grep -q ': digests signatures OK\$'"
rpm "${in_root[@]}" --nodeps --force-debian -i "$rpm_file" >"$out/rpm-install.txt" 2>&1
check "rpm -i installs it" test $? -eq 0
check "rpm lists it as installed, $version-1" \
    test "$(rpm "${in_root[@]}" -q --qf '%{VERSION}-%{RELEASE}' orbdrift 2>/dev/null)" = "$version-1"
absent=""
while read -r file; do
    [ -f "$root$file" ] || absent="$absent $file"
done <"$out/rpm-files.txt"
check "every file is in place${absent:+, not:$absent}" test -z "$absent"
program=$root/usr/libexec/xscreensaver/orbdrift
check "the program is executable and reports $version" \
    sh -c "test -x '$program' && '$program' --version | grep -qF '$version'"
check "its settings entry names its delay option" grep -q 'arg="--delay %"' \
    "$root/usr/share/xscreensaver/config/orbdrift.xml"
# Each library the program links, asked for by its soname.
missing=""
for soname in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p'); do
    grep -q "^$soname()(64bit)" "$out/requires.txt" || missing="$missing $soname"
done
check "it requires every library the program links${missing:+, not:$missing}" test -z "$missing"

rpm "${in_root[@]}" --nodeps -e orbdrift >"$out/rpm-remove.txt" 2>&1
check "rpm -e removes it" test $? -eq 0
check "rpm knows it no more" sh -c "! rpm --root '$root' --dbpath /var/lib/rpm -q orbdrift >/dev/null 2>&1"
left=$(cd "$root" && find . -path ./var -prune -o ! -type d -print)
for folder in $(query --qf '[%{FILEMODES:perms} %{FILENAMES}\n]' | awk '$1 ~ /^d/ { print $2 }'); do
    [ -e "$root$folder" ] && left="$left $folder"
done
check "none of its files or folders is left${left:+: $left}" test -z "$left"

report
