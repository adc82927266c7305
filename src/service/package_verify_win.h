#pragma once
// The check a downloaded package must pass before Windows Installer may run it.
//
// WinVerifyTrust decides whether the Authenticode signature chains to a trusted root. Windows
// also compares the package's content with the digest the signature carries; Wine's
// WinVerifyTrust does not, so we compare it ourselves on both systems: the signer's signature
// over the signed content is verified with CryptoAPI, the signed content's digest is taken
// from it, and the package's streams are hashed again (service/package_digest.h).
#include <string>

namespace pagelark {

enum class PackageTrust {
    Trusted,
    Unsigned,      // no signature at all, or no file Windows Installer could read
    Untrusted,     // signed, but the chain ends at no trusted root (or the signature is broken)
    Altered,       // the content differs from what was signed
};

PackageTrust VerifyUpdatePackage(const std::wstring& path);

}  // namespace pagelark
