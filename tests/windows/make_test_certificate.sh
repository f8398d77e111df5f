#!/bin/sh
# A throwaway code-signing certificate for the tests, in DIR: test.pfx, its
# password in the file password (never on a command line), and the
# certificate alone as test.crt to verify against. It lasts two days.
# Usage: make_test_certificate.sh DIR
set -eu
mkdir -p "$1"
cd "$1"
rm -f key.pem test.crt password test.pfx
openssl rand -hex 16 >password
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out test.crt -days 2 \
    -subj "/CN=orbdrift test signing" -addext "extendedKeyUsage=codeSigning" 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in test.crt -out test.pfx -passout file:password
rm key.pem
