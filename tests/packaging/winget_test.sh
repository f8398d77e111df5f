#!/bin/bash
# The winget manifests scripts/package writes: well formed, for the one
# version, and naming the installer in dist/ by its SHA-256.
# Usage: winget_test.sh DIST VERSION
set -u
dist=$1
version=$2
. "$(dirname "$0")/../support/end_to_end_checks.sh"
manifests=("$dist"/winget/*.yaml)
check "three manifests: version, installer, default locale" test "${#manifests[@]}" = 3
# A checksum or an address cannot be wrapped: lines may be long.
check "yamllint finds nothing wrong" \
    yamllint --strict -d "{extends: default, rules: {line-length: disable}}" "${manifests[@]}"
check "each is for version $version" \
    test "$(grep -lx "PackageVersion: $version" "${manifests[@]}" | wc -l)" = 3
sha=$(sha256sum "$dist/orbdrift-$version-setup.exe" | cut -d' ' -f1 | tr a-f A-F)
check "the installer's SHA-256 is that of dist's installer" \
    grep -qx "    InstallerSha256: $sha" "$dist"/winget/*.installer.yaml
check "the installer's address has no doubled slash" \
    grep -qxE "    InstallerUrl: https://([^/]+/)+orbdrift-$version-setup.exe" "$dist"/winget/*.installer.yaml
check "silent with /S" grep -qx "  Silent: /S" "$dist"/winget/*.installer.yaml
check "for the machine" grep -qx "Scope: machine" "$dist"/winget/*.installer.yaml
check "under the MIT licence" grep -qx "License: MIT" "$dist"/winget/*.locale.*.yaml
report
