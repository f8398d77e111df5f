#!/bin/bash
# The winget manifests scripts/package writes: well formed, for the one
# version, and naming the installer in dist/ by its SHA-256, once for the
# machine and once for the user alone.
# Usage: winget_test.sh DIST VERSION
. "$(dirname "$0")/../support/prologue.sh" dist version= -- "$@"
manifests=("$dist"/winget/*.yaml)
check "three manifests: version, installer, default locale" test "${#manifests[@]}" = 3
# A checksum or an address cannot be wrapped: lines may be long.
check "yamllint finds nothing wrong" \
    yamllint --strict -d "{extends: default, rules: {line-length: disable}}" "${manifests[@]}"
check "each is for version $version" \
    test "$(grep -lx "PackageVersion: $version" "${manifests[@]}" | wc -l)" = 3
sha=$(sha256sum "$dist/orbdrift-$version-setup.exe" | cut -d' ' -f1 | tr a-f A-F)
installers=("$dist"/winget/*.installer.yaml)
check "both installer entries' SHA-256 is that of dist's installer" \
    test "$(grep -cx "    InstallerSha256: $sha" "${installers[@]}")" = 2
check "the installer's address has no doubled slash" \
    test "$(grep -cxE "    InstallerUrl: https://([^/]+/)+orbdrift-$version-setup.exe" "${installers[@]}")" = 2
check "silent with /S" grep -qx "  Silent: /S" "${installers[@]}"
# Each scope's entry, and the switch that tells the installer which.
entries=$(awk '/^  - Architecture:/ { n++ } n && /^    (Scope|ElevationRequirement|  Custom):/ { print n, $1, $2 }' "${installers[@]}")
check "for the machine, elevated by the installer, with /AllUsers" \
    test "$(grep '^1 ' <<<"$entries" | tr '\n' ' ')" = "1 Scope: machine 1 ElevationRequirement: elevatesSelf 1 Custom: /AllUsers "
check "and for the user alone with /CurrentUser" \
    test "$(grep '^2 ' <<<"$entries" | tr '\n' ' ')" = "2 Scope: user 2 Custom: /CurrentUser "
check "under the MIT licence" grep -qx "License: MIT" "$dist"/winget/*.locale.*.yaml
report
