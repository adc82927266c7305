#!/usr/bin/env bash
# Unpacks Hunspell's released source, as Debian ships it, into $1/hunspell-<version> (once: a
# verified tree is reused). The spelling engine is compiled from it by both configurations.
#
# The source comes with `apt-get source` from the deb-src entry of the Debian archive the build
# scripts already install from (scripts/lib/common.sh adds the entry). Version and digests are
# pinned: a different or altered download stops the build.
set -euo pipefail
dest=${1:?usage: fetch_hunspell.sh DEST_DIR}
VERSION=1.7.1
DEBIAN_VERSION=1.7.1-1
DSC_SHA256=183e319fbf5a23707768d1c68a304ba70b6a8a5581d0521da63e7c81e6da80ac
ORIG_SHA256=b2d9c5369c2cc7f321cb5983fda2dbf007dce3d9e17519746840a6f0c4bf7444
DEBIAN_SHA256=516284ea4bcae4773b64a947a7266f546d0589096f4e7567ab65a33b7af5eb91

tree="$dest/hunspell-$VERSION"
stamp="$tree/.pagelark-verified"
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$DEBIAN_VERSION $ORIG_SHA256" ] && exit 0

download="$dest/hunspell-download"
rm -rf "$download" "$tree"
mkdir -p "$download"
cd "$download"
if ! apt-get source --download-only -qq "hunspell=$DEBIAN_VERSION" >apt-source.log 2>&1; then
    cat apt-source.log >&2
    echo "error: could not fetch Debian's hunspell $DEBIAN_VERSION source package." >&2
    echo "       It needs a deb-src entry for the Debian archive and 'apt-get update' (scripts/lib/common.sh does both)." >&2
    exit 1
fi
check() {   # file digest
    local got
    got=$(sha256sum "$1" | cut -d' ' -f1)
    [ "$got" = "$2" ] || { echo "error: $1 has SHA-256 $got, expected $2" >&2; exit 1; }
}
check "hunspell_$DEBIAN_VERSION.dsc" "$DSC_SHA256"
check "hunspell_$VERSION.orig.tar.gz" "$ORIG_SHA256"
check "hunspell_$DEBIAN_VERSION.debian.tar.xz" "$DEBIAN_SHA256"
# All three files are pinned above, so dpkg-source need not check the (unsigned-for-us) .dsc again.
dpkg-source --no-check -x "hunspell_$DEBIAN_VERSION.dsc" "$tree" >dpkg-source.log 2>&1 \
    || { cat dpkg-source.log >&2; exit 1; }
cd "$dest"
rm -rf "$download" "hunspell_$VERSION.orig.tar.gz"   # dpkg-source's link beside the tree
echo "$DEBIAN_VERSION $ORIG_SHA256" >"$stamp"
