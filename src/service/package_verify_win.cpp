#include "service/package_verify_win.h"

#include <windows.h>
#include <objbase.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <memory>
#include <vector>

#include "service/package_digest.h"

namespace pagelark {
namespace {

template <typename T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

class CompoundStorage : public StorageView {
public:
    explicit CompoundStorage(IStorage* storage) : storage_(storage) {}
    ~CompoundStorage() override {
        if (storage_) storage_->Release();
    }
    CompoundStorage(const CompoundStorage&) = delete;
    CompoundStorage& operator=(const CompoundStorage&) = delete;

    std::optional<std::vector<StorageEntry>> Entries() override {
        ComPtr<IEnumSTATSTG> list;
        if (FAILED(storage_->EnumElements(0, nullptr, 0, &list))) return std::nullopt;
        std::vector<StorageEntry> entries;
        STATSTG stat;
        while (list->Next(1, &stat, nullptr) == S_OK) {
            StorageEntry entry;
            for (const wchar_t* c = stat.pwcsName; c && *c; ++c) entry.name += static_cast<char16_t>(*c);
            entry.isStorage = stat.type == STGTY_STORAGE;
            CoTaskMemFree(stat.pwcsName);
            if (stat.type == STGTY_STORAGE || stat.type == STGTY_STREAM) entries.push_back(std::move(entry));
        }
        return entries;
    }

    std::optional<std::string> ReadStream(const std::u16string& name) override {
        ComPtr<IStream> stream;
        if (FAILED(storage_->OpenStream(Wide(name).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream)))
            return std::nullopt;
        STATSTG stat;
        if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > 0x7FFFFFFF) return std::nullopt;
        std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
        ULONG read = 0;
        if (!bytes.empty() && (FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)) ||
                               read != bytes.size()))
            return std::nullopt;
        return bytes;
    }

    std::unique_ptr<StorageView> OpenStorage(const std::u16string& name) override {
        IStorage* child = nullptr;
        if (FAILED(storage_->OpenStorage(Wide(name).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, &child)))
            return nullptr;
        return std::make_unique<CompoundStorage>(child);
    }

    std::array<std::uint8_t, 16> ClassId() override {
        std::array<std::uint8_t, 16> id{};
        STATSTG stat;
        if (SUCCEEDED(storage_->Stat(&stat, STATFLAG_NONAME))) memcpy(id.data(), &stat.clsid, id.size());
        return id;
    }

private:
    static std::wstring Wide(const std::u16string& name) { return std::wstring(name.begin(), name.end()); }
    IStorage* storage_;
};

class CryptoHash : public DigestSink {
public:
    explicit CryptoHash(ALG_ID algorithm) {
        if (CryptAcquireContextW(&provider_, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT))
            CryptCreateHash(provider_, algorithm, 0, 0, &hash_);
    }
    ~CryptoHash() override {
        if (hash_) CryptDestroyHash(hash_);
        if (provider_) CryptReleaseContext(provider_, 0);
    }
    CryptoHash(const CryptoHash&) = delete;
    CryptoHash& operator=(const CryptoHash&) = delete;
    bool Valid() const { return hash_ != 0 && ok_; }
    void Add(std::string_view bytes) override {
        if (hash_ && !CryptHashData(hash_, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0))
            ok_ = false;
    }
    std::string Value() {
        DWORD size = 0;
        DWORD sizeLength = sizeof size;
        if (!Valid() || !CryptGetHashParam(hash_, HP_HASHSIZE, reinterpret_cast<BYTE*>(&size), &sizeLength, 0)) return {};
        std::string value(size, '\0');
        if (!CryptGetHashParam(hash_, HP_HASHVAL, reinterpret_cast<BYTE*>(value.data()), &size, 0)) return {};
        return value;
    }

private:
    HCRYPTPROV provider_ = 0;
    HCRYPTHASH hash_ = 0;
    bool ok_ = true;
};

ALG_ID AlgorithmOf(const std::string& oid) {
    if (oid == "2.16.840.1.101.3.4.2.1") return CALG_SHA_256;
    if (oid == "2.16.840.1.101.3.4.2.2") return CALG_SHA_384;
    if (oid == "2.16.840.1.101.3.4.2.3") return CALG_SHA_512;
    return 0;   // SHA-1 and MD5 digests are no protection any more
}

struct SignedMessage {
    HCRYPTMSG handle = nullptr;
    HCERTSTORE store = nullptr;
    PCCERT_CONTEXT signer = nullptr;
    ~SignedMessage() {
        if (signer) CertFreeCertificateContext(signer);
        if (store) CertCloseStore(store, 0);
        if (handle) CryptMsgClose(handle);
    }
};

std::string MessageParam(HCRYPTMSG message, DWORD param) {
    DWORD size = 0;
    if (!CryptMsgGetParam(message, param, 0, nullptr, &size)) return {};
    std::string value(size, '\0');
    if (!CryptMsgGetParam(message, param, 0, value.data(), &size)) return {};
    value.resize(size);
    return value;
}

PackageTrust CheckWinTrust(const std::wstring& path) {
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = path.c_str();
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG status = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    if (status == 0) return PackageTrust::Trusted;
    if (status == TRUST_E_NOSIGNATURE || status == TRUST_E_SUBJECT_FORM_UNKNOWN || status == TRUST_E_PROVIDER_UNKNOWN)
        return PackageTrust::Unsigned;
    if (status == TRUST_E_BAD_DIGEST) return PackageTrust::Altered;
    return PackageTrust::Untrusted;
}

// The signer's certificate must be valid for code signing and chain to a root of the machine's
// stores. Wine's WinVerifyTrust accepts a package signed by an unknown CA, or a self-signed one.
bool ChainsToTrustedRoot(PCCERT_CONTEXT signer, HCERTSTORE messageStore) {
    CERT_CHAIN_PARA para{};
    para.cbSize = sizeof para;
    char codeSigning[] = szOID_PKIX_KP_CODE_SIGNING;
    LPSTR usages[] = {codeSigning};
    para.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
    para.RequestedUsage.Usage.cUsageIdentifier = 1;
    para.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    if (!CertGetCertificateChain(nullptr, signer, nullptr, messageStore, &para, 0, nullptr, &chain) || !chain)
        return false;
    // Revocation is not asked for (the program may be offline); everything else must be clean.
    const DWORD ignored = CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION;
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof status;
    const bool trusted = (chain->TrustStatus.dwErrorStatus & ~ignored) == 0 &&
                         CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_BASE, chain, &policy, &status) &&
                         status.dwError == 0;
    CertFreeCertificateChain(chain);
    return trusted;
}

}  // namespace

PackageTrust VerifyUpdatePackage(const std::wstring& path) {
    // Wine's WinVerifyTrust reads the package through structured storage and needs COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    struct ComEnd {
        bool started;
        ~ComEnd() {
            if (started) CoUninitialize();
        }
    } comEnd{SUCCEEDED(com)};
    const PackageTrust verdict = CheckWinTrust(path);
    if (verdict != PackageTrust::Trusted) return verdict;

    IStorage* rootStorage = nullptr;
    if (FAILED(StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &rootStorage)))
        return PackageTrust::Unsigned;
    CompoundStorage root(rootStorage);
    // The extended signature (a pre-hash of the storage's metadata) is not what we ship.
    const std::optional<std::string> signature = root.ReadStream(kMsiSignatureStream);
    if (!signature || root.ReadStream(kMsiSignatureExStream)) return PackageTrust::Altered;

    // The signer's signature over the signed content: verified here rather than trusted from
    // WinVerifyTrust, so the digest read below is the one the publisher signed.
    SignedMessage message;
    message.handle = CryptMsgOpenToDecode(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, 0, 0, nullptr, nullptr);
    if (!message.handle ||
        !CryptMsgUpdate(message.handle, reinterpret_cast<const BYTE*>(signature->data()), static_cast<DWORD>(signature->size()), TRUE))
        return PackageTrust::Untrusted;
    const std::string signerInfo = MessageParam(message.handle, CMSG_SIGNER_CERT_INFO_PARAM);
    message.store = CertOpenStore(CERT_STORE_PROV_MSG, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, 0, message.handle);
    if (signerInfo.empty() || !message.store) return PackageTrust::Untrusted;
    message.signer = CertGetSubjectCertificateFromStore(message.store, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING,
                                                        reinterpret_cast<PCERT_INFO>(const_cast<char*>(signerInfo.data())));
    if (!message.signer || !CryptMsgControl(message.handle, 0, CMSG_CTRL_VERIFY_SIGNATURE, message.signer->pCertInfo))
        return PackageTrust::Untrusted;
    if (!ChainsToTrustedRoot(message.signer, message.store)) return PackageTrust::Untrusted;

    const std::optional<SignedDigest> signedDigest = ReadSignedDigest(MessageParam(message.handle, CMSG_CONTENT_PARAM));
    const ALG_ID algorithm = signedDigest ? AlgorithmOf(signedDigest->algorithmOid) : 0;
    if (!algorithm) return PackageTrust::Untrusted;
    CryptoHash hash(algorithm);
    if (!HashMsiContent(root, hash) || !hash.Valid()) return PackageTrust::Altered;
    return hash.Value() == signedDigest->digest ? PackageTrust::Trusted : PackageTrust::Altered;
}

}  // namespace pagelark
