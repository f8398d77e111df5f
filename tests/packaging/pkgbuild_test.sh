#!/bin/bash
# The PKGBUILD scripts/package writes, built as an Arch user builds it:
# makepkg beside it, from the source archive it names, checked against its
# SHA-256. Debian's makepkg has no pacman to check the dependencies with, so
# it runs without (-d). The package must hold the Debian package's files,
# and the licence where Arch keeps licences. makepkg refuses to run as
# root: then it runs as a scratch user of this run's own, removed again at
# the end.
# Usage: pkgbuild_test.sh DIST VERSION ORBDRIFT.DEB OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" dist version= deb out -- "$@"

archive=orbdrift-$version.tar.gz
check "the PKGBUILD is for version $version" grep -qx "pkgver=$version" "$dist/PKGBUILD"
check "it names the source archive in dist/" \
    sh -c "grep -q '^source=(\"\$_release_url/\$pkgname-\$pkgver.tar.gz\")' '$dist/PKGBUILD' &&
           test -s '$dist/$archive'"
check "by its SHA-256" grep -qx "sha256sums=('$(sha256sum "$dist/$archive" | cut -d' ' -f1)')" "$dist/PKGBUILD"
check "the archive holds the sources under orbdrift-$version/" \
    sh -c "tar -tzf '$dist/$archive' | grep -qx 'orbdrift-$version/CMakeLists.txt'"

# A folder of the run's own, which the scratch user may write.
work=$(mktemp -d /tmp/orbdrift-makepkg.XXXXXX)
chmod 755 "$work"
made_user=""
cleanup() {
    if [ -n "$made_user" ]; then
        # A build cut short by its time limit may leave a compiler behind; the
        # user is this run's alone, so its processes are this test's.
        for pid in $(pgrep -u "$made_user"); do kill -KILL "$pid" 2>/dev/null; done
        for _ in $(seq 50); do pgrep -u "$made_user" >/dev/null || break; sleep 0.1; done
        userdel "$made_user" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
run_as=()
if [ "$(id -u)" -eq 0 ]; then
    made_user=orbdrift-makepkg-$$
    useradd --no-create-home --home-dir "$work" "$made_user" || { echo "FAIL: no scratch user"; exit 1; }
    run_as=(setpriv --reuid="$made_user" --regid="$(id -g "$made_user")" --clear-groups)
fi
cp "$dist/PKGBUILD" "$dist/$archive" "$work/"
[ -n "$made_user" ] && chown -R "$made_user" "$work"

# In the foreground and bounded: when it returns, whatever it started has
# ended. Arch's own package format, compressed as Arch does. makepkg stops
# at once when it finds no pacman, even with the dependency checks off: any
# program that is there will do.
(cd "$work" && timeout --kill-after=10 1200 "${run_as[@]}" env -i HOME="$work" PATH=/usr/bin:/bin \
    PACMAN=true MAKEFLAGS="-j$(nproc)" PKGEXT=.pkg.tar.zst BUILDDIR="$work/build" \
    PKGDEST="$work" SRCDEST="$work" makepkg -d --noconfirm --noprogressbar) >"$out/makepkg.txt" 2>&1
check "makepkg builds it from the archive" test $? -eq 0
package=$work/orbdrift-$version-1-x86_64.pkg.tar.zst
check "into orbdrift-$version-1-x86_64.pkg.tar.zst" test -s "$package"
cp "$package" "$out/" 2>/dev/null

bsdtar -xOf "$package" .PKGINFO >"$out/PKGINFO" 2>/dev/null
check "its metadata names the version and the MIT licence" \
    sh -c "grep -qx 'pkgver = $version-1' '$out/PKGINFO' && grep -qx 'license = MIT' '$out/PKGINFO'"
bsdtar -tvf "$package" 2>/dev/null | awk '$1 !~ /^d/ && $9 !~ /^\./ { print "/" $9 }' | sort >"$out/arch-files.txt"
{
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }'
    echo /usr/share/licenses/orbdrift/LICENSE
    echo /usr/lib/xscreensaver/orbdrift
} | sort >"$out/expected-files.txt"
check "it holds the Debian package's files, the licence and the display mode where Arch keeps them" \
    diff -u "$out/expected-files.txt" "$out/arch-files.txt"

unpacked=$work/unpacked
mkdir -p "$unpacked"
bsdtar -xf "$package" -C "$unpacked" 2>/dev/null
program=$unpacked/usr/libexec/xscreensaver/orbdrift
check "the program is executable and reports $version, also where Arch's daemon looks and on the PATH" \
    sh -c "test -x '$program' && '$program' --version | grep -qF '$version' &&
        '$unpacked/usr/bin/orbdrift' --version | grep -qF '$version' &&
        test \"\$(readlink '$unpacked/usr/lib/xscreensaver/orbdrift')\" = /usr/libexec/xscreensaver/orbdrift"
report
