#pragma once
// The check a downloaded package must pass before Windows Installer may run it.
//
// On Windows, WinVerifyTrust checks the whole Authenticode signature. Wine 8's WinVerifyTrust
// only finds that a signature is there: it accepts a package whose content was changed after
// signing, and one signed by an unknown CA. So after WinVerifyTrust the program checks the rest
// itself with CryptoAPI, the same way on both systems: the signer's signature over the signed
// content, the signer's chain to a trusted root for code signing, and the content digest, by
// hashing the package's streams again (service/package_digest.h). See docs/updates.md.
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
