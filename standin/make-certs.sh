#!/usr/bin/env bash
# Makes the stand-in's test certificates in $1 unless they are there already:
#   ca.crt/ca.key            the project's test CA (the Wine prefix trusts it)
#   server.crt/server.key    localhost and 127.0.0.1, signed by the test CA
#   selfsigned.crt/.key      a self-signed localhost certificate nobody trusts
#   codesign.crt/.key        code signing (the update packages), signed by the test CA
# Keys are for tests only and never committed.
set -eu
dir=$1
mkdir -p "$dir"
cd "$dir"
umask 077
# The code-signing certificate of the update packages, issued by the test CA.
make_codesign() {
    [ -s codesign.crt ] && [ -s codesign.key ] && return 0
    openssl req -newkey rsa:2048 -nodes -sha256 -keyout codesign.key -out codesign.csr \
        -subj "/O=Orvane/CN=Orvane Test Code Signing" 2>/dev/null
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >codesign.ext
    openssl x509 -req -in codesign.csr -CA ca.crt -CAkey ca.key -CAcreateserial -days 3650 -sha256 \
        -extfile codesign.ext -out codesign.crt 2>/dev/null
    rm -f codesign.csr codesign.ext ca.srl
    chmod 644 codesign.crt
}
if [ -s ca.crt ] && [ -s server.crt ] && [ -s server.key ] && [ -s selfsigned.crt ] && [ -s selfsigned.key ]; then
    make_codesign
    exit 0
fi
openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650 -keyout ca.key -out ca.crt \
    -subj "/O=Pagelark/CN=Pagelark Test CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -sha256 -keyout server.key -out server.csr \
    -subj "/O=Pagelark/CN=localhost" 2>/dev/null
cat >server.ext <<'EXT'
basicConstraints=CA:FALSE
keyUsage=critical,digitalSignature,keyEncipherment
extendedKeyUsage=serverAuth
subjectAltName=DNS:localhost,DNS:127.0.0.1,IP:127.0.0.1
EXT
openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -days 3650 -sha256 \
    -extfile server.ext -out server.crt 2>/dev/null
openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650 -keyout selfsigned.key -out selfsigned.crt \
    -subj "/O=Nobody/CN=localhost" -addext "subjectAltName=DNS:localhost,IP:127.0.0.1" 2>/dev/null
rm -f server.csr server.ext ca.srl
chmod 644 ca.crt server.crt selfsigned.crt
make_codesign
