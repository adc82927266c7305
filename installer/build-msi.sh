#!/usr/bin/env bash
# Builds and signs Pagelark's Windows Installer package from a staged program folder.
#   build-msi.sh STAGE_DIR VERSION OUT.msi [CERT.pem KEY.pem]
# Without a certificate the package stays unsigned (and the program refuses it as an update).
# The production certificate is a build input (PAGELARK_SIGNING_CERT / _KEY); the tests use one
# issued by the test CA the Wine prefix trusts (standin/make-certs.sh).
set -eu
stage=$1 version=$2 out=$3 cert=${4:-} key=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Data, Help and Dictionaries: every file below them, one component each.
(cd "$stage" && find Data Help Dictionaries -type f 2>/dev/null | LC_ALL=C sort) |
    sed 's|^|./|' |
    (cd "$stage" && wixl-heat --prefix ./ --directory-ref INSTALLDIR --var var.StageDir --component-group ProgramData \
        --win64) >"$work/files.wxs"
with_addin=0
[ -f "$stage/Quillbridge.dll" ] && with_addin=1
# wixl resolves file sources against the current folder (absolute ones trip it up).
(cd "$stage" && wixl -a x64 -D Version="$version" -D StageDir=. -D WithAddin=$with_addin -D Win64=yes \
    -o "$work/unsigned.msi" "$here/Pagelark.wxs" "$work/files.wxs")
if [ -n "$cert" ]; then
    osslsigncode sign -certs "$cert" -key "$key" -h sha256 -n Pagelark -i https://www.telvoro.com/ \
        -in "$work/unsigned.msi" -out "$work/signed.msi" >/dev/null
    mv "$work/signed.msi" "$out"
else
    mv "$work/unsigned.msi" "$out"
fi
