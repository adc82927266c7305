#include "double_objects.h"

#include <atomic>
#include <cstring>
#include <utility>

#include "double_data.h"

#define DOUBLE_STUB { return MAPI_E_NO_SUPPORT; }

namespace doubles {
namespace {

constexpr ULONG kContactsFolderEntryId = 0x66100102;
const GUID kPsetidAddress = {0x00062004, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr char kDefaultStoreId[] = "STORE-DEFAULT";

// IUnknown with a reference count and live-object counting, over a stub of every interface method.
template <typename Stub>
class Counted : public Stub {
public:
    Counted() { ObjectCreated(); }
    virtual ~Counted() { ObjectDestroyed(); }
    STDMETHOD(QueryInterface)(REFIID, void** object) override {
        if (!object) return E_POINTER;
        *object = this;
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++references_; }
    STDMETHOD_(ULONG, Release)() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

private:
    std::atomic<ULONG> references_{1};
};

struct PropStub : IMAPIProp {
    MAPI_IMAPIPROP_METHODS(DOUBLE_STUB)
};
struct FolderStub : IMAPIFolder {
    MAPI_IMAPIPROP_METHODS(DOUBLE_STUB)
    MAPI_IMAPICONTAINER_METHODS(DOUBLE_STUB)
    MAPI_IMAPIFOLDER_METHODS(DOUBLE_STUB)
};
struct TableStub : IMAPITable {
    MAPI_IMAPITABLE_METHODS(DOUBLE_STUB)
};
struct StoreStub : IMsgStore {
    MAPI_IMAPIPROP_METHODS(DOUBLE_STUB)
    MAPI_IMSGSTORE_METHODS(DOUBLE_STUB)
};
struct AddrBookStub : IAddrBook {
    MAPI_IMAPIPROP_METHODS(DOUBLE_STUB)
    MAPI_IADDRBOOK_METHODS(DOUBLE_STUB)
};
struct SessionStub : IMAPISession {
    MAPI_IMAPISESSION_METHODS(DOUBLE_STUB)
};

std::string IdOf(ULONG size, LPENTRYID id) {
    return id ? std::string(reinterpret_cast<const char*>(id), size) : std::string();
}

RowValue Text(std::string bytes) { return RowValue{RowValue::String, std::move(bytes), 0}; }
RowValue Bytes(std::string bytes) { return RowValue{RowValue::Binary, std::move(bytes), 0}; }
RowValue Number(LONG value) { return RowValue{RowValue::Long, {}, value}; }

bool IsFolderId(const Data& data, const std::string& id) {
    for (const Container& c : data.containers)
        if (!c.folder.empty() && c.folder == id) return true;
    return false;
}

RowData RowOfEntry(const Data& data, const Entry& entry) {
    RowData row;
    for (const auto& [tag, value] : entry.props) row[tag] = Text(value);
    row[PR_ENTRYID] = Bytes(entry.id);
    row[PR_OBJECT_TYPE] = Number(entry.isList ? MAPI_DISTLIST : MAPI_MAILUSER);
    if (IsFolderId(data, entry.in) && !row.count(PR_MESSAGE_CLASS_A))
        row[PR_MESSAGE_CLASS_A] = Text(entry.isList ? "IPM.DistList" : "IPM.Contact");
    return row;
}

class Table : public Counted<TableStub> {
public:
    explicit Table(std::vector<RowData> rows, std::string owner = {}) : rows_(std::move(rows)), owner_(std::move(owner)) {}
    const std::vector<RowData>& rows() const { return rows_; }

    STDMETHOD(SetColumns)(LPSPropTagArray columns, ULONG) override {
        if (!columns) return MAPI_E_INVALID_PARAMETER;
        std::lock_guard lock(DataMutex());
        if (TheData().Fails("SetColumns", owner_)) return MAPI_E_CALL_FAILED;
        columns_.assign(columns->aulPropTag, columns->aulPropTag + columns->cValues);
        return S_OK;
    }
    STDMETHOD(GetRowCount)(ULONG, ULONG* count) override {
        if (!count) return MAPI_E_INVALID_PARAMETER;
        *count = static_cast<ULONG>(rows_.size());
        return S_OK;
    }
    STDMETHOD(SeekRow)(BOOKMARK origin, LONG offset, LONG* sought) override {
        if (origin != BOOKMARK_BEGINNING && origin != BOOKMARK_CURRENT) return MAPI_E_INVALID_BOOKMARK;
        LONG target = (origin == BOOKMARK_BEGINNING ? 0 : static_cast<LONG>(cursor_)) + offset;
        if (target < 0) target = 0;
        if (target > static_cast<LONG>(rows_.size())) target = static_cast<LONG>(rows_.size());
        if (sought) *sought = target - static_cast<LONG>(cursor_);
        cursor_ = static_cast<size_t>(target);
        return S_OK;
    }
    STDMETHOD(QueryRows)(LONG count, ULONG, LPSRowSet* result) override {
        if (!result || count < 0) return MAPI_E_INVALID_PARAMETER;
        DWORD delay = 0;
        {
            std::lock_guard lock(DataMutex());
            if (TheData().Fails("QueryRows", owner_)) return MAPI_E_CALL_FAILED;
            delay = TheData().queryDelayMs;
        }
        if (delay) Sleep(delay);
        std::vector<RowData> slice;
        while (slice.size() < static_cast<size_t>(count) && cursor_ < rows_.size()) slice.push_back(rows_[cursor_++]);
        std::vector<ULONG> columns = columns_;
        SizedSPropTagArray(32, chosen) = {0, {}};
        for (ULONG tag : columns)
            if (chosen.cValues < 32) chosen.aulPropTag[chosen.cValues++] = tag;
        return BuildRowSet(slice, columns.empty() ? nullptr : reinterpret_cast<LPSPropTagArray>(&chosen), result);
    }

private:
    std::vector<RowData> rows_;
    std::string owner_;
    std::vector<ULONG> columns_;
    size_t cursor_ = 0;
};

IUnknown* OpenById(const std::string& id, ULONG* type);

class EntryObject : public Counted<PropStub> {
public:
    explicit EntryObject(const Entry& entry) : id_(entry.id), props_(entry.props) {}

    STDMETHOD(GetProps)(LPSPropTagArray tags, ULONG, ULONG* count, LPSPropValue* values) override {
        if (!count || !values) return MAPI_E_INVALID_PARAMETER;
        RowData row;
        for (const auto& [tag, value] : props_) row[tag] = Text(value);
        row[PR_ENTRYID] = Bytes(id_);
        row[PR_OBJECT_TYPE] = Number(MAPI_MAILUSER);
        LPSRowSet rows = nullptr;
        const SCODE sc = BuildRowSet({row}, tags, &rows);
        if (FAILED(sc)) return sc;
        // Hand out the row's property block alone; the row set around it is freed here.
        *count = rows->aRow[0].cValues;
        *values = rows->aRow[0].lpProps;
        Free(rows);
        bool anyMissing = false;
        for (ULONG i = 0; i < *count; ++i) anyMissing |= PROP_TYPE((*values)[i].ulPropTag) == PT_ERROR;
        return anyMissing ? MAPI_W_ERRORS_RETURNED : S_OK;
    }
    STDMETHOD(GetIDsFromNames)(ULONG count, LPMAPINAMEID* names, ULONG, LPSPropTagArray* tags) override {
        if (!tags || !names || count == 0) return MAPI_E_INVALID_PARAMETER;
        void* block = nullptr;
        if (FAILED(Allocate(CbNewSPropTagArray(count), &block))) return MAPI_E_NOT_ENOUGH_MEMORY;
        auto* result = static_cast<LPSPropTagArray>(block);
        result->cValues = count;
        bool missing = false;
        for (ULONG i = 0; i < count; ++i) {
            const MAPINAMEID* name = names[i];
            const bool known = name && name->lpguid && IsEqualGUID(*name->lpguid, kPsetidAddress) &&
                               name->ulKind == MNID_ID && name->Kind.lID == 0x8083;
            result->aulPropTag[i] = known ? PROP_TAG(PT_UNSPECIFIED, 0x8083) : PROP_TAG(PT_ERROR, 0);
            missing |= !known;
        }
        *tags = result;
        return missing ? MAPI_W_ERRORS_RETURNED : S_OK;
    }
    STDMETHOD(SetProps)(ULONG count, LPSPropValue values, LPSPropProblemArray* problems) override {
        if (problems) *problems = nullptr;
        if (!values) return MAPI_E_INVALID_PARAMETER;
        for (ULONG i = 0; i < count; ++i)
            if (PROP_TYPE(values[i].ulPropTag) == PT_STRING8 && values[i].Value.lpszA)
                props_[values[i].ulPropTag] = values[i].Value.lpszA;
        return S_OK;
    }
    STDMETHOD(SaveChanges)(ULONG) override {
        std::lock_guard lock(DataMutex());
        if (TheData().Fails("SaveChanges", id_)) return MAPI_E_CALL_FAILED;
        Entry* stored = TheData().Find(id_);
        if (!stored) return MAPI_E_NOT_FOUND;
        stored->props = props_;
        return TheData().Save() ? S_OK : MAPI_E_DISK_ERROR;
    }

private:
    std::string id_;
    std::map<ULONG, std::string> props_;
};

class ContainerObject : public Counted<FolderStub> {
public:
    ContainerObject(std::string id, bool isList) : id_(std::move(id)), isList_(isList) {}

    STDMETHOD(GetContentsTable)(ULONG, LPMAPITABLE* table) override {
        if (!table) return MAPI_E_INVALID_PARAMETER;
        std::lock_guard lock(DataMutex());
        const Data& data = TheData();
        if (data.Fails("GetContentsTable", id_)) return MAPI_E_CALL_FAILED;
        std::vector<RowData> rows;
        if (isList_) {
            if (const Entry* list = data.Find(id_))
                for (const std::string& member : list->members)
                    if (const Entry* entry = data.Find(member)) rows.push_back(RowOfEntry(data, *entry));
        } else {
            for (const Entry* entry : data.EntriesIn(id_)) rows.push_back(RowOfEntry(data, *entry));
            // An address-book container shows the contacts of the folder behind it too.
            const Container* container = data.FindContainer(id_);
            if (container && container->id == id_ && !container->folder.empty())
                for (const Entry* entry : data.EntriesIn(container->folder)) rows.push_back(RowOfEntry(data, *entry));
        }
        *table = new Table(std::move(rows), id_);
        return S_OK;
    }
    STDMETHOD(OpenEntry)(ULONG size, LPENTRYID id, LPCIID, ULONG, ULONG* type, LPUNKNOWN* object) override {
        if (!object || !type) return MAPI_E_INVALID_PARAMETER;
        *object = OpenById(IdOf(size, id), type);
        return *object ? S_OK : MAPI_E_NOT_FOUND;
    }

private:
    std::string id_;
    bool isList_;
};

IUnknown* OpenById(const std::string& id, ULONG* type) {
    std::lock_guard lock(DataMutex());
    const Data& data = TheData();
    if (data.Fails("OpenEntry", id)) return nullptr;
    if (const Container* container = data.FindContainer(id)) {
        const bool isFolder = container->id != id;
        *type = isFolder ? MAPI_FOLDER : MAPI_ABCONT;
        return static_cast<IMAPIFolder*>(new ContainerObject(id, false));
    }
    const Entry* entry = data.Find(id);
    if (!entry) return nullptr;
    if (entry->isList) {
        *type = MAPI_DISTLIST;
        return static_cast<IMAPIFolder*>(new ContainerObject(id, true));
    }
    *type = MAPI_MAILUSER;
    return static_cast<IMAPIProp*>(new EntryObject(*entry));
}

class AddressBookObject : public Counted<AddrBookStub> {
public:
    STDMETHOD(OpenEntry)(ULONG size, LPENTRYID id, LPCIID, ULONG, ULONG* type, LPUNKNOWN* object) override {
        if (!object || !type) return MAPI_E_INVALID_PARAMETER;
        std::string key = IdOf(size, id);
        if (key.empty()) {   // no identifier: the root container (the Windows Address Book's PAB)
            std::lock_guard lock(DataMutex());
            key = TheData().defaultDir;
        }
        *object = OpenById(key, type);
        return *object ? S_OK : MAPI_E_NOT_FOUND;
    }
    STDMETHOD(GetDefaultDir)(ULONG* size, LPENTRYID* id) override { return CopyDefault("GetDefaultDir", size, id); }
    STDMETHOD(GetPAB)(ULONG* size, LPENTRYID* id) override { return CopyDefault("GetPAB", size, id); }
    STDMETHOD(GetSearchPath)(ULONG, LPSRowSet* result) override {
        if (!result) return MAPI_E_INVALID_PARAMETER;
        std::vector<RowData> rows;
        {
            std::lock_guard lock(DataMutex());
            if (TheData().Fails("GetSearchPath")) return MAPI_E_CALL_FAILED;
            for (const Container& c : TheData().containers) {
                RowData row;
                row[PR_ENTRYID] = Bytes(c.id);
                row[PR_DISPLAY_NAME_A] = Text(c.name);
                row[PR_OBJECT_TYPE] = Number(MAPI_ABCONT);
                if (!c.folder.empty()) row[kContactsFolderEntryId] = Bytes(c.folder);
                rows.push_back(std::move(row));
            }
        }
        return BuildRowSet(rows, nullptr, result);
    }

private:
    HRESULT CopyDefault(const char* call, ULONG* size, LPENTRYID* id) {
        if (!size || !id) return MAPI_E_INVALID_PARAMETER;
        std::string key;
        {
            std::lock_guard lock(DataMutex());
            if (TheData().Fails(call)) return MAPI_E_CALL_FAILED;
            key = TheData().defaultDir;
        }
        void* block = nullptr;
        if (FAILED(Allocate(static_cast<ULONG>(key.size()), &block))) return MAPI_E_NOT_ENOUGH_MEMORY;
        std::memcpy(block, key.data(), key.size());
        *size = static_cast<ULONG>(key.size());
        *id = static_cast<LPENTRYID>(block);
        return S_OK;
    }
};

class StoreObject : public Counted<StoreStub> {
public:
    STDMETHOD(OpenEntry)(ULONG size, LPENTRYID id, LPCIID, ULONG, ULONG* type, LPUNKNOWN* object) override {
        if (!object || !type) return MAPI_E_INVALID_PARAMETER;
        *object = OpenById(IdOf(size, id), type);
        return *object ? S_OK : MAPI_E_NOT_FOUND;
    }
};

class SessionObject : public Counted<SessionStub> {
public:
    STDMETHOD(GetMsgStoresTable)(ULONG, LPMAPITABLE* table) override {
        if (!table) return MAPI_E_INVALID_PARAMETER;
        RowData archive;
        archive[PR_ENTRYID] = Bytes("STORE-ARCHIVE");
        archive[PR_DISPLAY_NAME_A] = Text("Archive");
        archive[PR_DEFAULT_STORE] = RowValue{RowValue::Boolean, {}, FALSE};
        RowData personal;
        personal[PR_ENTRYID] = Bytes(kDefaultStoreId);
        personal[PR_DISPLAY_NAME_A] = Text("Personal Folders");
        personal[PR_DEFAULT_STORE] = RowValue{RowValue::Boolean, {}, TRUE};
        *table = new Table({archive, personal});
        return S_OK;
    }
    STDMETHOD(OpenMsgStore)(ULONG_PTR, ULONG size, LPENTRYID id, LPCIID, ULONG, LPMDB* store) override {
        if (!store) return MAPI_E_INVALID_PARAMETER;
        if (IdOf(size, id) != kDefaultStoreId) return MAPI_E_NOT_FOUND;   // the program wants the default one
        *store = new StoreObject();
        return S_OK;
    }
    STDMETHOD(OpenAddressBook)(ULONG_PTR, LPCIID, ULONG, LPADRBOOK* book) override {
        if (!book) return MAPI_E_INVALID_PARAMETER;
        std::lock_guard lock(DataMutex());
        if (TheData().Fails("OpenAddressBook")) return MAPI_E_CALL_FAILED;
        *book = new AddressBookObject();
        return S_OK;
    }
};

}  // namespace

IAddrBook* NewAddressBook() { return new AddressBookObject(); }
IMAPISession* NewSession() { return new SessionObject(); }

const std::vector<RowData>* RowsOf(IMAPITable* table) {
    auto* own = dynamic_cast<Table*>(table);
    return own ? &own->rows() : nullptr;
}

bool Matches(const RowData& row, const SRestriction* restriction) {
    if (!restriction || restriction->rt != RES_PROPERTY) return true;
    const SPropertyRestriction& property = restriction->res.resProperty;
    const auto found = row.find(property.ulPropTag);
    if (found == row.end() || !property.lpProp) return false;
    const RowValue& value = found->second;
    bool equal = false;
    switch (PROP_TYPE(property.ulPropTag)) {
    case PT_BOOLEAN: equal = (value.number != 0) == (property.lpProp->Value.b != 0); break;
    case PT_LONG: equal = value.number == property.lpProp->Value.l; break;
    case PT_STRING8: equal = property.lpProp->Value.lpszA && value.bytes == property.lpProp->Value.lpszA; break;
    default: break;
    }
    return property.relop == RELOP_EQ ? equal : property.relop == RELOP_NE ? !equal : true;
}

SCODE BuildRowSet(const std::vector<RowData>& rows, const SPropTagArray* columns, LPSRowSet* result) {
    void* block = nullptr;
    SCODE sc = Allocate(CbNewSRowSet(rows.size() ? rows.size() : 1), &block);
    if (FAILED(sc)) return sc;
    auto* set = static_cast<LPSRowSet>(block);
    set->cRows = 0;
    for (const RowData& row : rows) {
        std::vector<ULONG> tags;
        if (columns) tags.assign(columns->aulPropTag, columns->aulPropTag + columns->cValues);
        else
            for (const auto& entry : row) tags.push_back(entry.first);
        void* propsBlock = nullptr;
        if (FAILED(sc = Allocate(static_cast<ULONG>(sizeof(SPropValue) * (tags.size() ? tags.size() : 1)), &propsBlock)))
            break;
        auto* props = static_cast<LPSPropValue>(propsBlock);
        for (size_t i = 0; i < tags.size(); ++i) {
            SPropValue& out = props[i];
            const ULONG tag = tags[i];
            // A named property asked for as PT_STRING8 matches its stored value by id.
            auto found = row.find(tag);
            if (found == row.end() || (PROP_TYPE(tag) != PT_UNSPECIFIED && PROP_TYPE(tag) != PROP_TYPE(found->first) &&
                                       found->second.kind != RowValue::String)) {
                out.ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(tag));
                out.Value.err = MAPI_E_NOT_FOUND;
                continue;
            }
            const RowValue& value = found->second;
            out.ulPropTag = tag;
            switch (value.kind) {
            case RowValue::String: {
                void* text = nullptr;
                AllocateMore(static_cast<ULONG>(value.bytes.size() + 1), propsBlock, &text);
                std::memcpy(text, value.bytes.c_str(), value.bytes.size() + 1);
                out.Value.lpszA = static_cast<LPSTR>(text);
                break;
            }
            case RowValue::Binary: {
                void* bytes = nullptr;
                AllocateMore(static_cast<ULONG>(value.bytes.size() ? value.bytes.size() : 1), propsBlock, &bytes);
                std::memcpy(bytes, value.bytes.data(), value.bytes.size());
                out.Value.bin.cb = static_cast<ULONG>(value.bytes.size());
                out.Value.bin.lpb = static_cast<LPBYTE>(bytes);
                break;
            }
            case RowValue::Long: out.Value.l = value.number; break;
            case RowValue::Boolean: out.Value.b = static_cast<unsigned short>(value.number != 0); break;
            }
        }
        set->aRow[set->cRows].cValues = static_cast<ULONG>(tags.size());
        set->aRow[set->cRows].lpProps = props;
        ++set->cRows;
    }
    *result = set;
    return sc;
}

}  // namespace doubles
