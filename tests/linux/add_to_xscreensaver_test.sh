#!/bin/bash
# orbdrift-add-to-xscreensaver and its --remove on files a person or the
# daemon may have left: CRLF line ends, entries the person named, links that
# lead nowhere, a save by the daemon while it works. It refuses root, so as
# root it runs as nobody, in a scratch home removed afterwards.
# Usage: add_to_xscreensaver_test.sh COMMAND OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" command out -- "$@"

scratch=$(mktemp -d /tmp/orbdrift-add.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
home=$scratch/home
settings=$home/.xscreensaver
mkdir -p "$home" "$scratch/bin"
cp "$command" "$scratch/bin/"
[ "$(id -u)" -ne 0 ] || chown -R nobody "$scratch"
# add [PATH-FIRST] [OPTION]: the command, its words in $said and its exit code in $rc.
add() {
    local as=()
    [ "$(id -u)" -ne 0 ] || as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    said=$("${as[@]}" env HOME="$home" PATH="${1:+$1:}/usr/bin:/bin" \
        sh "$scratch/bin/orbdrift-add-to-xscreensaver" ${2:+"$2"} 2>&1)
    rc=$?
}
# The user's file, as the user's.
crlf() { printf '%s\r\n' "$@" >"$settings" && chown --reference="$home" "$settings"; }
lf() { printf '%s\n' "$@" >"$settings" && chown --reference="$home" "$settings"; }

crlf '# mine' 'programs:	\' '  GL: a --root \n\' '  - b \n\' '  c \n' 'mode: one'
cp "$settings" "$out/crlf-before"
add
printf '%s\r\n' '# mine' 'programs:	\' '  GL: a --root \n\' '  - b \n\' '  c \n\' \
    '		GL: orbdrift --root \n' 'mode: one' >"$out/crlf-expected"
check "CRLF: the entry goes after the list's last line, in CRLF ($said)" \
    cmp "$settings" "$out/crlf-expected"
add "" --remove
check "and --remove gives back the file as it was ($said)" cmp "$settings" "$out/crlf-before"

lf 'programs: GL: "Orbdrift" orbdrift --root \n\' '  - x \n'
# Kept in the scratch folder, which the user the command runs as can read.
cp "$settings" "$scratch/named"
add
check "an entry the person named is orbdrift's: nothing changed ($said)" \
    sh -c "[ $rc -eq 0 ] && cmp -s '$settings' '$scratch/named'"

# Every entry of orbdrift goes, the rest of the list and the file stay.
lf 'programs: GL: orbdrift --root \n\' '  a \n\' '  - GL: "Orbdrift" orbdrift --root \n\' '  b \n' 'x: 1'
add "" --remove
check "--remove takes out every entry of orbdrift, wherever it is ($said)" \
    test "$(cat "$settings")" = "$(printf '%s\n' 'programs:\' '  a \n\' '  b \n' 'x: 1')"
rm "$settings"
add && add "" --remove
check "a file it began goes with --remove ($said)" test ! -e "$settings"

# The daemon saves (a new file, renamed into place) while the command works.
cat >"$scratch/bin/awk" <<SHIM
#!/bin/sh
$(command -v awk) "\$@"
rc=\$?
[ -e "$home/saved" ] || { touch "$home/saved"; cp "$scratch/named" "$home/.new"; mv "$home/.new" "$settings"; }
exit \$rc
SHIM
chmod 755 "$scratch/bin/awk"
lf '# before the save' 'programs: a \n'
add "$scratch/bin"
check "a file the daemon saved meanwhile is kept, and it says so (exit $rc: $said)" \
    sh -c "[ $rc -eq 1 ] && cmp -s '$settings' '$scratch/named' && [ -n '$said' ]"

for link in ".xscreensaver:a loop" "$scratch/gone/xscreensaver:$scratch/gone, a folder that"; do
    rm -f "$settings" && ln -s "${link%%:*}" "$settings" && add
    check "a link to ${link%%:*} exits 1 saying why ($said)" \
        test "$rc" -eq 1 -a "${said#*"${link#*:}"}" != "$said"
done
report
