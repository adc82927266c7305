# Sourced by prepare_prefix: makes the Wine prefix trust the stand-in's test CA, so WinInet accepts
# https://localhost:<port>/ without a certificate error. The CA goes into the machine's Root store
# as Windows keeps it in the registry (a serialized certificate under its SHA-1 thumbprint).
# Done once per CA; a stamp in the prefix makes later runs instant.
standin_trust_ca() {
    local certs="$BUILD/standin/certs" reg thumb
    "$ROOT/standin/make-certs.sh" "$certs" || die "could not make the stand-in's test certificates"
    thumb=$(openssl x509 -in "$certs/ca.crt" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g')
    [ -n "$thumb" ] || die "cannot read the test CA $certs/ca.crt"
    [ -f "$WINEPREFIX/.pagelark-ca-$thumb" ] && return 0
    reg="$BUILD/standin/test-ca.reg"
    openssl x509 -in "$certs/ca.crt" -outform DER | python3 -c '
import struct, sys
der = sys.stdin.buffer.read()
thumb = sys.argv[1]
# property 32 (the encoded certificate), flags 1, length, bytes
blob = struct.pack("<III", 32, 1, len(der)) + der
hexed = ",".join("%02x" % b for b in blob)
print("Windows Registry Editor Version 5.00\r\n")
print("[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\%s]" % thumb)
print("\"Blob\"=hex:%s\r\n" % hexed)
' "$thumb" >"$reg" || die "cannot write $reg"
    wine reg import "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1 || die "wine reg import of the test CA failed"
    rm -f "$WINEPREFIX"/.pagelark-ca-*
    touch "$WINEPREFIX/.pagelark-ca-$thumb"
    say "the Wine prefix now trusts the stand-in's test CA ($thumb)"
}
standin_trust_ca
