#include "service/package_digest.h"

#include <algorithm>
#include <cstring>

namespace pagelark {
namespace {

// The name as the compound file stores it: UTF-16LE with its terminating zero.
std::string StoredNameBytes(const std::u16string& name) {
    std::string bytes;
    bytes.reserve((name.size() + 1) * 2);
    for (char16_t c : name) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    bytes.append(2, '\0');
    return bytes;
}

bool HashStorage(StorageView& storage, DigestSink& sink, bool root, int depth) {
    if (depth > 32) return false;   // a cycle or an absurd tree: not a package we install
    std::optional<std::vector<StorageEntry>> entries = storage.Entries();
    if (!entries) return false;
    std::sort(entries->begin(), entries->end(),
              [](const StorageEntry& a, const StorageEntry& b) { return MsiDigestOrderLess(a.name, b.name); });
    for (const StorageEntry& entry : *entries) {
        if (root && (entry.name == kMsiSignatureStream || entry.name == kMsiSignatureExStream)) continue;
        if (entry.isStorage) {
            std::unique_ptr<StorageView> child = storage.OpenStorage(entry.name);
            if (!child || !HashStorage(*child, sink, false, depth + 1)) return false;
        } else {
            std::optional<std::string> bytes = storage.ReadStream(entry.name);
            if (!bytes) return false;
            if (!bytes->empty()) sink.Add(*bytes);
        }
    }
    const std::array<std::uint8_t, 16> classId = storage.ClassId();
    sink.Add(std::string_view(reinterpret_cast<const char*>(classId.data()), classId.size()));
    return true;
}

// A minimal DER reader: one tag-length-value at a time.
struct Der {
    std::string_view rest;

    bool Next(unsigned char expectedTag, std::string_view& value) {
        if (rest.size() < 2 || static_cast<unsigned char>(rest[0]) != expectedTag) return false;
        size_t length = static_cast<unsigned char>(rest[1]);
        size_t header = 2;
        if (length & 0x80) {
            const size_t count = length & 0x7F;
            if (count == 0 || count > 4 || rest.size() < 2 + count) return false;
            length = 0;
            for (size_t i = 0; i < count; ++i) length = (length << 8) | static_cast<unsigned char>(rest[2 + i]);
            header += count;
        }
        if (rest.size() - header < length) return false;
        value = rest.substr(header, length);
        rest.remove_prefix(header + length);
        return true;
    }
};

std::optional<std::string> OidText(std::string_view bytes) {
    if (bytes.empty()) return std::nullopt;
    const unsigned first = static_cast<unsigned char>(bytes[0]);
    // Appended piece by piece: GCC 12 warns falsely about "." + std::string at -O2.
    std::string text = std::to_string(first < 80 ? first / 40 : 2);
    text += '.';
    text += std::to_string(first < 80 ? first % 40 : first - 80);
    unsigned long value = 0;
    for (size_t i = 1; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (value > (~0UL >> 8)) return std::nullopt;
        value = (value << 7) | (b & 0x7F);
        if (!(b & 0x80)) {
            text += '.';
            text += std::to_string(value);
            value = 0;
        }
    }
    if (static_cast<unsigned char>(bytes.back()) & 0x80) return std::nullopt;
    return text;
}

}  // namespace

bool MsiDigestOrderLess(const std::u16string& a, const std::u16string& b) {
    const std::string x = StoredNameBytes(a);
    const std::string y = StoredNameBytes(b);
    const int diff = std::memcmp(x.data(), y.data(), std::min(x.size(), y.size()));
    if (diff != 0) return diff < 0;
    return x.size() < y.size();
}

bool HashMsiContent(StorageView& root, DigestSink& sink) {
    return HashStorage(root, sink, true, 0);
}

std::optional<SignedDigest> ReadSignedDigest(std::string_view indirectDataDer) {
    Der outer{indirectDataDer};
    std::string_view wrapped;
    if (Der probe{indirectDataDer}; probe.Next(0x04, wrapped) && probe.rest.empty()) outer.rest = wrapped;
    std::string_view content, data, digestInfo, algorithm, oid, digest;
    if (!outer.Next(0x30, content) || !outer.rest.empty()) return std::nullopt;
    Der fields{content};
    if (!fields.Next(0x30, data) || !fields.Next(0x30, digestInfo)) return std::nullopt;
    Der info{digestInfo};
    if (!info.Next(0x30, algorithm) || !info.Next(0x04, digest) || !info.rest.empty()) return std::nullopt;
    Der algorithmFields{algorithm};
    if (!algorithmFields.Next(0x06, oid)) return std::nullopt;
    std::optional<std::string> oidText = OidText(oid);
    if (!oidText || digest.empty()) return std::nullopt;
    return SignedDigest{*oidText, std::string(digest)};
}

}  // namespace pagelark
