#include "mailclients/wab_connection_win.h"

#include <cstdio>
#include <utility>

#include "common/ansi_code_page_win.h"
#include "common/handle_win.h"
#include "common/wide_string_win.h"
#include "ids_addressbooks.h"
#include "ui/resources_win.h"

namespace pagelark {
namespace {

constexpr wchar_t kWabPathKey[] = L"Software\\Microsoft\\WAB\\DLLPath";
constexpr DWORD kWabPathMaxBytes = 260;

SizedSPropTagArray(4, kWabColumns) = {4, {PR_DISPLAY_NAME_A, PR_SURNAME_A, PR_ENTRYID, PR_OBJECT_TYPE}};

LPSPropTagArray WabColumns() { return reinterpret_cast<LPSPropTagArray>(&kWabColumns); }

const SPropValue* Column(const SRow& row, ULONG tag) {
    if (!row.lpProps) return nullptr;
    for (ULONG i = 0; i < row.cValues; ++i)
        if (row.lpProps[i].ulPropTag == tag) return &row.lpProps[i];
    return nullptr;
}

std::string StringOf(const SRow& row, ULONG tag) {
    const SPropValue* value = Column(row, tag);
    return value && value->Value.lpszA ? std::string(value->Value.lpszA) : std::string();
}

std::string BinaryOf(const SRow& row, ULONG tag) {
    const SPropValue* value = Column(row, tag);
    if (!value || !value->Value.bin.lpb) return {};
    return std::string(reinterpret_cast<const char*>(value->Value.bin.lpb), value->Value.bin.cb);
}

LONG TypeOf(const SRow& row) {
    const SPropValue* value = Column(row, PR_OBJECT_TYPE);
    return value ? value->Value.l : -1;
}


// The default value of the DLLPath key, environment variables expanded; none when absent or empty.
std::optional<std::wstring> ReadWabPath() {
    RegistryKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWabPathKey, 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t buffer[kWabPathMaxBytes / sizeof(wchar_t) + 1] = {};
    DWORD size = kWabPathMaxBytes;
    DWORD type = 0;
    const LSTATUS status = RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || !buffer[0]) return std::nullopt;
    wchar_t expanded[MAX_PATH * 2] = {};
    const DWORD length = ExpandEnvironmentStringsW(buffer, expanded, MAX_PATH * 2);
    if (length == 0 || length > MAX_PATH * 2) return std::wstring(buffer);
    return std::wstring(expanded);
}

template <typename Interface>
void ReleaseAndClear(Interface*& object) {
    if (object) object->Release();
    object = nullptr;
}

}  // namespace

WabConnection::WabConnection(const std::string& fileName, const std::wstring& logPath) {
    if (!logPath.empty()) {
        if (const unsigned long error = log_.Open(logPath))
            ShowMessage(nullptr, FillPlaceholders(LoadText(IDS_LOG_OPEN_FAILED), {logPath, SystemErrorText(error)}),
                        MB_OK | MB_ICONERROR);
    }
    const std::optional<std::wstring> path = ReadWabPath();
    if (path) log_.Write("Path to wab32.dll: %s\n", Narrow(*path).c_str());
    const std::wstring library = path ? *path : L"WAB32.DLL";
    library_ = LoadLibraryW(library.c_str());
    if (!library_) {
        log_.Write("Error: can't load library %s\n", Narrow(library).c_str());
        return;
    }
    log_.WriteText("wab32.dll loaded successfully\n");
    wabOpen_ = reinterpret_cast<LPWABOPEN>(reinterpret_cast<void*>(GetProcAddress(library_, "WABOpen")));
    if (!wabOpen_) {
        log_.WriteText("Error: can't get entry point for WABOpen\n");
        return;
    }
    log_.WriteText("WABOpen entry point found successfully\n");

    std::string name = fileName;
    WAB_PARAM param{};
    param.cbSize = sizeof(WAB_PARAM);   // 48 bytes in a 64-bit program, 32 in a 32-bit one
    param.hwnd = nullptr;
    param.szFileName = name.empty() ? nullptr : name.data();
    param.ulFlags = 0;
    const HRESULT hr = wabOpen_(&addressBook_, &wabObject_, &param, 0);
    if (FAILED(hr) || !addressBook_ || !wabObject_) {
        log_.Write("Error: WABOpen failed, result=0x%X\n", static_cast<unsigned>(hr));
        ReleaseAndClear(addressBook_);
        ReleaseAndClear(wabObject_);
    } else {
        open_ = true;
        log_.WriteText("Window address book opened successfully\n");
    }
}

WabConnection::~WabConnection() {
    if (open_) {
        FreeCache();
        ReleaseAndClear(addressBook_);
        ReleaseAndClear(wabObject_);
    }
    // The library is freed only after its objects are gone (or when it never opened one).
    if (library_) FreeLibrary(library_);
    log_.Close();
}

void WabConnection::FreeCache() {
    if (cachedProps_ && wabObject_) wabObject_->FreeBuffer(cachedProps_);
    cachedProps_ = nullptr;
    cachedCount_ = 0;
}

void WabConnection::FreeRows(LPSRowSet rows) {
    if (!rows) return;
    for (ULONG i = 0; i < rows->cRows; ++i)
        if (rows->aRow[i].lpProps) wabObject_->FreeBuffer(rows->aRow[i].lpProps);
    wabObject_->FreeBuffer(rows);
}

std::optional<std::string> WabConnection::ReadString(const std::string& entryId, ULONG tag) {
    if (PROP_TYPE(tag) != PT_STRING8) {
        ShowMessage(nullptr, LoadText(IDS_WAB_STRING_PROPS_ONLY), MB_OK | MB_ICONINFORMATION);
        return std::nullopt;
    }
    ULONG type = 0;
    LPMAILUSER entry = nullptr;
    auto* id = reinterpret_cast<LPENTRYID>(const_cast<char*>(entryId.data()));
    if (FAILED(addressBook_->OpenEntry(static_cast<ULONG>(entryId.size()), id, nullptr, 0, &type,
                                       reinterpret_cast<LPUNKNOWN*>(&entry))) ||
        !entry)
        return std::nullopt;
    FreeCache();
    const HRESULT hr = entry->GetProps(nullptr, 0, &cachedCount_, &cachedProps_);
    entry->Release();
    if (FAILED(hr) || !cachedProps_) {
        cachedProps_ = nullptr;
        cachedCount_ = 0;
        return std::nullopt;
    }
    for (ULONG i = 0; i < cachedCount_; ++i)
        if (cachedProps_[i].ulPropTag == tag && cachedProps_[i].Value.lpszA)
            return Utf8FromAnsi(cachedProps_[i].Value.lpszA);
    return std::nullopt;
}

Contact WabConnection::ReadMailUser(const SRow& row, bool logFields) {
    Contact contact;
    contact.name = Utf8FromAnsi(StringOf(row, PR_DISPLAY_NAME_A));
    contact.entryId = BinaryOf(row, PR_ENTRYID);
    if (auto mobile = ReadString(contact.entryId, PR_MOBILE_TELEPHONE_NUMBER_A)) {
        contact.mobile = std::move(*mobile);
        if (logFields) log_.Write("phone number = %s", AnsiFromUtf8(contact.mobile).c_str());
    }
    if (auto email = ReadString(contact.entryId, PR_EMAIL_ADDRESS_A)) {
        contact.email = std::move(*email);
        if (logFields) log_.Write(", e-mail = %s", AnsiFromUtf8(contact.email).c_str());
    }
    if (auto surname = ReadString(contact.entryId, PR_SURNAME_A)) contact.surname = std::move(*surname);
    return contact;
}

void WabConnection::ReadContents(ContactList& list) {
    if (!open_) return;
    log_.WriteText("============== Reading WAB contents =========================\n");
    ULONG rootSize = 0;
    LPENTRYID rootId = nullptr;
    HRESULT hr = addressBook_->GetPAB(&rootSize, &rootId);
    if (FAILED(hr)) log_.Write("Error: IAddrBook::GetPAB failed, result=0x%X\n", static_cast<unsigned>(hr));

    std::string error;
    char text[160];
    ULONG type = 0;
    LPABCONT root = nullptr;
    LPMAPITABLE table = nullptr;
    hr = addressBook_->OpenEntry(rootSize, rootId, nullptr, 0, &type, reinterpret_cast<LPUNKNOWN*>(&root));
    if (rootId) wabObject_->FreeBuffer(rootId);
    if (FAILED(hr) || !root) {
        std::snprintf(text, sizeof text, "Error: IAddrBook::OpenEntry for the root container failed, result=0x%X\n",
                      static_cast<unsigned>(hr));
        error = text;
    } else if (FAILED(hr = root->GetContentsTable(0, &table)) || !table) {
        std::snprintf(text, sizeof text,
                      "Error: IABContainer::GetContentsTable for the root container failed, result=0x%X\n",
                      static_cast<unsigned>(hr));
        error = text;
    } else if (FAILED(hr = table->SetColumns(WabColumns(), 0))) {
        std::snprintf(text, sizeof text, "Error: IMAPITable::SetColumns failed, result=0x%X\n", static_cast<unsigned>(hr));
        error = text;
    } else if (FAILED(hr = table->SeekRow(BOOKMARK_BEGINNING, 0, nullptr))) {
        std::snprintf(text, sizeof text, "Error: IMAPITable::SeekRow failed, result=0x%X\n", static_cast<unsigned>(hr));
        error = text;
    } else {
        list.clear();
        for (;;) {
            LPSRowSet rows = nullptr;
            if (FAILED(hr = table->QueryRows(1, 0, &rows))) {
                std::snprintf(text, sizeof text, "Error: IMAPITable::QueryRows failed, result=0x%X\n",
                              static_cast<unsigned>(hr));
                error = text;
                break;
            }
            if (!rows || rows->cRows == 0) {
                if (rows) FreeRows(rows);
                break;
            }
            const SRow& row = rows->aRow[0];
            log_.Write("Object found '%s': ", StringOf(row, PR_DISPLAY_NAME_A).c_str());
            const LONG objectType = TypeOf(row);
            if (objectType == MAPI_MAILUSER) list.push_back(ReadMailUser(row, true));
            log_.WriteText("\n");
            bool listFailed = false;
            if (objectType == MAPI_DISTLIST) listFailed = !ReadList(row, list);
            FreeRows(rows);
            if (listFailed) break;
        }
    }
    if (!error.empty()) log_.WriteText(error);
    if (table) table->Release();
    if (root) root->Release();
}

bool WabConnection::ReadList(const SRow& row, ContactList& list) {
    Contact distribution;
    distribution.name = Utf8FromAnsi(StringOf(row, PR_DISPLAY_NAME_A));
    distribution.entryId = BinaryOf(row, PR_ENTRYID);
    ULONG type = 0;
    LPDISTLIST entry = nullptr;
    auto* id = reinterpret_cast<LPENTRYID>(distribution.entryId.data());
    LPMAPITABLE members = nullptr;
    bool ok = SUCCEEDED(addressBook_->OpenEntry(static_cast<ULONG>(distribution.entryId.size()), id, nullptr, 0,
                                                &type, reinterpret_cast<LPUNKNOWN*>(&entry))) &&
              entry && SUCCEEDED(entry->GetContentsTable(0, &members)) && members &&
              SUCCEEDED(members->SetColumns(WabColumns(), 0)) &&
              SUCCEEDED(members->SeekRow(BOOKMARK_BEGINNING, 0, nullptr));
    while (ok) {
        LPSRowSet rows = nullptr;
        if (FAILED(members->QueryRows(1, 0, &rows))) {
            ok = false;
            break;
        }
        const bool done = !rows || rows->cRows == 0;
        // Only people: a list inside a list is not followed.
        if (!done && TypeOf(rows->aRow[0]) == MAPI_MAILUSER)
            distribution.members.push_back(ReadMailUser(rows->aRow[0], false));
        if (rows) FreeRows(rows);
        if (done) break;
    }
    if (members) members->Release();
    if (entry) entry->Release();
    if (ok) list.push_back(std::move(distribution));
    return ok;
}

void WabConnection::WriteChanged(ContactList& list) {
    if (!open_) return;
    for (Contact& contact : list) {
        if (!contact.changed || contact.entryId.empty()) continue;
        ULONG type = 0;
        LPMAILUSER entry = nullptr;
        auto* id = reinterpret_cast<LPENTRYID>(contact.entryId.data());
        if (FAILED(addressBook_->OpenEntry(static_cast<ULONG>(contact.entryId.size()), id, nullptr, MAPI_BEST_ACCESS,
                                           &type, reinterpret_cast<LPUNKNOWN*>(&entry))) ||
            !entry)
            continue;   // the flag stays set
        std::string number = AnsiFromUtf8(contact.mobile);
        SPropValue value{};
        value.ulPropTag = PR_MOBILE_TELEPHONE_NUMBER_A;
        value.Value.lpszA = number.data();
        const bool saved = SUCCEEDED(entry->SetProps(1, &value, nullptr)) &&
                           SUCCEEDED(entry->SaveChanges(KEEP_OPEN_READWRITE));
        entry->Release();
        if (saved) contact.changed = false;
    }
}

void ReadWindowsAddressBook(const std::wstring& logPath, ContactList& list) {
    list.clear();
    WabConnection connection("", logPath);
    connection.ReadContents(list);
}

void WriteWindowsAddressBook(ContactList& list) {
    WabConnection connection("", L"");
    connection.WriteChanged(list);
}

}  // namespace pagelark
