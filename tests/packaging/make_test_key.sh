#!/bin/sh
# A throwaway OpenPGP key for signing the RPM in the tests, in DIR:
# rpm-key.asc, the secret key without a passphrase, and rpm-key.pub.asc, the
# public key to check against. It lasts two days.
# Usage: make_test_key.sh DIR
set -eu
mkdir -p "$1"
dir=$(realpath "$1")
GNUPGHOME=$(mktemp -d)
export GNUPGHOME
trap 'gpgconf --kill all 2>/dev/null; rm -rf "$GNUPGHOME"' EXIT
gpg --batch --quiet --passphrase '' --quick-gen-key "orbdrift test signing <test@example.org>" \
    rsa3072 sign 2d 2>/dev/null
gpg --batch --armor --export-secret-keys >"$dir/rpm-key.asc"
gpg --batch --armor --export >"$dir/rpm-key.pub.asc"
