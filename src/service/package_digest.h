#pragma once
// The content digest of a signed Windows Installer package, computed the way Authenticode signs
// it, and the digest the signature carries. Windows checks the two against each other inside
// WinVerifyTrust; Wine checks only the signature's chain, so the program compares them itself.
//
// The package is a compound file. Its digest runs over the storage tree: at each level the
// entries in the order of their UTF-16LE names compared byte by byte (terminating zero
// included), a stream contributing its bytes, a storage its own entries, and each level
// ending with its class id. The root's signature streams are left out.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

struct StorageEntry {
    std::u16string name;
    bool isStorage = false;
};

// One storage of a compound file, opened read-only.
class StorageView {
public:
    virtual ~StorageView() = default;
    virtual std::optional<std::vector<StorageEntry>> Entries() = 0;
    virtual std::optional<std::string> ReadStream(const std::u16string& name) = 0;
    virtual std::unique_ptr<StorageView> OpenStorage(const std::u16string& name) = 0;
    virtual std::array<std::uint8_t, 16> ClassId() = 0;
};

class DigestSink {
public:
    virtual ~DigestSink() = default;
    virtual void Add(std::string_view bytes) = 0;
};

inline const std::u16string kMsiSignatureStream = u"\x0005" u"DigitalSignature";
inline const std::u16string kMsiSignatureExStream = u"\x0005" u"MsiDigitalSignatureEx";

// True when `a` comes before `b` in the digest's order.
bool MsiDigestOrderLess(const std::u16string& a, const std::u16string& b);

// Feeds the package's signed content into `sink`; false when a storage or stream cannot be read.
bool HashMsiContent(StorageView& root, DigestSink& sink);

// What the signature says it signed: the digest algorithm's object identifier ("2.16.840.1.101.3.4.2.1"
// for SHA-256) and the digest, from the DER of the signature's SpcIndirectDataContent (bare or
// wrapped in an OCTET STRING).
struct SignedDigest {
    std::string algorithmOid;
    std::string digest;
};
std::optional<SignedDigest> ReadSignedDigest(std::string_view indirectDataDer);

}  // namespace pagelark
