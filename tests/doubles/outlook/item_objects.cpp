// Items of the double with their FormDescription, PropertyAccessor and MAPIOBJECT.
#include <mapidefs.h>
#include <mapitags.h>
#include <mapix.h>
#include <mapicode.h>

#include "dispatch_object.h"
#include "objects.h"

namespace outlook_double {

namespace {

// {00020303-0000-0000-C000-000000000046}
const IID kIidMapiProp = {0x00020303, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr ULONG kPropSentRepresentingName = 0x0042;
constexpr ULONG kPropIconIndex = 0x1080;
constexpr ULONG kPropDisplayTo = 0x0E04;
constexpr ULONG kPropDisplayCc = 0x0E03;
constexpr ULONG kPropBody = 0x1000;
constexpr ULONG kPropMessageClass = 0x001A;

std::string VariantText(const VARIANT* value, bool* ok) {
    VARIANT converted;
    VariantInit(&converted);
    *ok = value && SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_BSTR));
    if (!*ok) return {};
    std::string text = Narrow(std::wstring(converted.bstrVal, SysStringLen(converted.bstrVal)));
    VariantClear(&converted);
    return text;
}

// A string property of the item by its MAPI property id; nullptr for ids the double does not keep.
std::string* TextProperty(ItemData& data, ULONG id) {
    switch (id) {
    case kPropSentRepresentingName: return &data.senderName;
    case kPropDisplayTo: return &data.to;
    case kPropDisplayCc: return &data.cc;
    case kPropBody: return &data.body;
    case kPropMessageClass: return &data.messageClass;
    default: return nullptr;
    }
}

class Item : public DispatchObject {
public:
    explicit Item(std::shared_ptr<ItemState> state)
        : DispatchObject(L"Item", {L"To", L"CC", L"Subject", L"Body", L"UnRead", L"Sent", L"MessageClass", L"EntryID",
                                   L"Save", L"Move", L"Copy", L"Delete", L"MAPIOBJECT", L"FormDescription",
                                   L"PropertyAccessor", L"Close", L"Parent"}),
          state_(std::move(state)) {}

protected:
    CallError Call(size_t member, WORD flags, const Arguments& args, VARIANT* result) override {
        ItemData& data = state_->data;
        std::string* text = nullptr;
        switch (member) {
        case 0: text = &data.to; break;
        case 1: text = &data.cc; break;
        case 2: text = &data.subject; break;
        case 3: text = &data.body; break;
        case 6: text = &data.messageClass; break;
        default: break;
        }
        if (text) {
            if (!IsPut(flags)) {
                ReturnText(result, *text);
                return {};
            }
            bool ok = false;
            std::string value = VariantText(args.PutValue(), &ok);
            if (!ok) return BadArgument();
            if (member == 6 && value.rfind("IPM", 0) != 0) return BadArgument();
            *text = std::move(value);
            return {};
        }
        switch (member) {
        case 4:   // UnRead
            if (IsPut(flags)) {
                const VARIANT* value = args.PutValue();
                VARIANT converted;
                VariantInit(&converted);
                if (!value || FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_BOOL))) return BadArgument();
                data.unread = converted.boolVal != VARIANT_FALSE;
                return {};
            }
            ReturnBool(result, data.unread);
            return {};
        case 5:
            if (IsPut(flags)) return Fail(DISP_E_MEMBERNOTFOUND, L"");
            ReturnBool(result, data.sent);
            return {};
        case 7: ReturnText(result, state_->stored ? data.entryId : std::string()); return {};
        case 8:   // Save
            if (!SaveItem(*state_)) return NotFound();
            return {};
        case 9: return Move(args, result);
        case 10: return Copy(result);
        case 11: return Delete();
        case 12:   // MAPIOBJECT: the item's MAPI message (IUnknown; IMAPIProp in-process only)
            result->vt = VT_UNKNOWN;
            result->punkVal = NewMapiProp(state_);
            return {};
        case 13: ReturnObject(result, NewFormDescription(state_)); return {};
        case 14:   // PropertyAccessor came with Outlook 2007 (12)
            if (PlayedVersion() < 12) return Fail(DISP_E_MEMBERNOTFOUND, L"");
            ReturnObject(result, NewPropertyAccessor(state_));
            return {};
        case 15:   // Close(SaveMode): 0 save, 1 discard, 2 prompt (treated as discard)
            if (args.Long(0) == 0 && !SaveItem(*state_)) return NotFound();
            return {};
        case 16: ReturnObject(result, NewFolder(state_->folderId)); return {};
        default: return Fail(DISP_E_MEMBERNOTFOUND, L"");
        }
    }

private:
    CallError Move(const Arguments& args, VARIANT* result) {
        Store& store = ServerState::Get().store();
        const std::string destinationId = FolderIdOf(args.Dispatch(0));
        FolderData* destination = store.FindFolder(destinationId);
        if (!destination) return BadArgument();
        // Moving takes the item with its pending changes, as Outlook does.
        if (!SaveItem(*state_)) return NotFound();
        FolderData* source = nullptr;
        ItemData* stored = ServerState::Get().store().FindItem(state_->data.entryId, &source);
        if (!stored) return NotFound();
        destination = store.FindFolder(destinationId);
        if (source != destination) {
            ItemData moved = *stored;
            source->items.erase(source->items.begin() + (stored - source->items.data()));
            destination->items.push_back(moved);
            ServerState::Get().Save();
        }
        auto state = std::make_shared<ItemState>(*state_);
        state->folderId = destinationId;
        ReturnObject(result, NewItem(state));
        return {};
    }

    CallError Copy(VARIANT* result) {
        Store& store = ServerState::Get().store();
        if (!state_->stored) return Fail(static_cast<HRESULT>(0x80040109), L"The item has not been saved.");
        FolderData* folder = nullptr;
        const ItemData* stored = store.FindItem(state_->data.entryId, &folder);
        if (!stored) return NotFound();
        auto copy = std::make_shared<ItemState>();
        copy->data = *stored;
        copy->data.entryId = store.NewEntryId(false);
        copy->folderId = folder->entryId;
        copy->stored = true;
        folder->items.push_back(copy->data);
        ServerState::Get().Save();
        ReturnObject(result, NewItem(copy));
        return {};
    }

    CallError Delete() {
        Store& store = ServerState::Get().store();
        FolderData* folder = nullptr;
        ItemData* stored = state_->stored ? store.FindItem(state_->data.entryId, &folder) : nullptr;
        if (!stored) return NotFound();
        // Deleting moves to Deleted Items; deleting there removes for good.
        const ItemData removed = *stored;
        folder->items.erase(folder->items.begin() + (stored - folder->items.data()));
        FolderData* deleted = store.DefaultFolder(3);
        if (deleted && deleted != folder) deleted->items.push_back(removed);
        ServerState::Get().Save();
        state_->stored = false;
        return {};
    }

    std::shared_ptr<ItemState> state_;
};

class FormDescription : public DispatchObject {
public:
    explicit FormDescription(std::shared_ptr<ItemState> state)
        : DispatchObject(L"FormDescription", {L"Name", L"DisplayName", L"PublishForm", L"MessageClass"}), state_(std::move(state)) {}

protected:
    CallError Call(size_t member, WORD flags, const Arguments& args, VARIANT* result) override {
        std::string* text = member == 0 ? &name_ : member == 1 ? &displayName_ : nullptr;
        if (text) {
            if (!IsPut(flags)) {
                ReturnText(result, *text);
                return {};
            }
            bool ok = false;
            *text = VariantText(args.PutValue(), &ok);
            return ok ? CallError{} : BadArgument();
        }
        if (member == 3) {
            ReturnText(result, state_->data.messageClass);
            return {};
        }
        // PublishForm(Registry, [Folder]): 2 is the personal forms library.
        bool ok = false;
        const long registry = args.Long(0, &ok);
        if (!ok || registry < 0 || registry > 3) return BadArgument();
        if (name_.empty()) return Fail(E_INVALIDARG, L"The form needs a name before it can be published.");
        Store& store = ServerState::Get().store();
        store.forms()[name_] = state_->data.messageClass;
        ServerState::Get().Save();
        return {};
    }

private:
    std::shared_ptr<ItemState> state_;
    std::string name_;
    std::string displayName_;
};

// "http://schemas.microsoft.com/mapi/proptag/0xIIIITTTT" → the property tag.
bool ParsePropTag(const std::string& schema, ULONG& tag) {
    static const std::string kPrefix = "http://schemas.microsoft.com/mapi/proptag/0x";
    if (schema.size() != kPrefix.size() + 8 || schema.compare(0, kPrefix.size(), kPrefix) != 0) return false;
    tag = static_cast<ULONG>(std::stoul(schema.substr(kPrefix.size()), nullptr, 16));
    return true;
}

class PropertyAccessor : public DispatchObject {
public:
    explicit PropertyAccessor(std::shared_ptr<ItemState> state)
        : DispatchObject(L"PropertyAccessor", {L"GetProperty", L"SetProperty"}), state_(std::move(state)) {}

protected:
    CallError Call(size_t member, WORD, const Arguments& args, VARIANT* result) override {
        ULONG tag = 0;
        if (!ParsePropTag(args.Text(0), tag)) return Fail(E_INVALIDARG, L"The property is not known.");
        const ULONG id = PROP_ID(tag);
        ItemData& data = state_->data;
        if (member == 0) {
            if (id == kPropIconIndex) {
                if (data.iconIndex < 0) return NotFound();
                ReturnLong(result, data.iconIndex);
            } else if (std::string* text = TextProperty(data, id)) {
                ReturnText(result, *text);
            } else {
                return NotFound();
            }
            return {};
        }
        if (id == kPropIconIndex) {
            bool ok = false;
            const long value = args.Long(1, &ok);
            if (!ok) return BadArgument();
            data.iconIndex = static_cast<int>(value);
            return {};
        }
        std::string* text = TextProperty(data, id);
        if (!text) return Fail(E_INVALIDARG, L"The property cannot be written.");
        bool ok = false;
        *text = args.Text(1, &ok);
        return ok ? CallError{} : BadArgument();
    }

private:
    std::shared_ptr<ItemState> state_;
};

// The item's MAPI message. MAPI interfaces have no proxy/stub, so across processes COM hands out only
// IUnknown and a QueryInterface for IMAPIProp fails: exactly what an out-of-process caller meets with
// a real Outlook.
class MapiProp : public IMAPIProp {
public:
    explicit MapiProp(std::shared_ptr<ItemState> state) : state_(std::move(state)) { ServerState::Get().ObjectCreated(); }
    virtual ~MapiProp() { ServerState::Get().ObjectDestroyed(); }
    MapiProp(const MapiProp&) = delete;
    MapiProp& operator=(const MapiProp&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == kIidMapiProp) {
            *object = static_cast<IMAPIProp*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    STDMETHODIMP GetLastError(HRESULT, ULONG, LPMAPIERROR* error) override {
        if (error) *error = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP SaveChanges(ULONG) override { return SaveItem(*state_) ? S_OK : MAPI_E_NOT_FOUND; }
    STDMETHODIMP GetProps(LPSPropTagArray tags, ULONG, ULONG* count, LPSPropValue* values) override {
        if (!tags || !count || !values) return MAPI_E_INVALID_PARAMETER;
        const ULONG n = tags->cValues;
        std::vector<std::string> texts(n);
        size_t textBytes = 0;
        for (ULONG i = 0; i < n; ++i) {
            if (const std::string* text = TextProperty(state_->data, PROP_ID(tags->aulPropTag[i]))) {
                texts[i] = *text;
                textBytes += text->size() + 1;
            }
        }
        // One block: the value array followed by the strings, freed with one MAPIFreeBuffer.
        void* block = nullptr;
        if (MAPIAllocateBuffer(static_cast<ULONG>(n * sizeof(SPropValue) + textBytes), &block) != S_OK) return MAPI_E_NOT_ENOUGH_MEMORY;
        auto* props = static_cast<SPropValue*>(block);
        char* strings = reinterpret_cast<char*>(props + n);
        bool someMissing = false;
        for (ULONG i = 0; i < n; ++i) {
            const ULONG tag = tags->aulPropTag[i];
            const ULONG id = PROP_ID(tag);
            props[i] = SPropValue{};
            if (id == kPropIconIndex && state_->data.iconIndex >= 0) {
                props[i].ulPropTag = PROP_TAG(PT_LONG, id);
                props[i].Value.l = state_->data.iconIndex;
            } else if (TextProperty(state_->data, id) && PROP_TYPE(tag) != PT_UNICODE) {
                props[i].ulPropTag = PROP_TAG(PT_STRING8, id);
                memcpy(strings, texts[i].c_str(), texts[i].size() + 1);
                props[i].Value.lpszA = strings;
                strings += texts[i].size() + 1;
            } else {
                props[i].ulPropTag = PROP_TAG(PT_ERROR, id);
                props[i].Value.err = MAPI_E_NOT_FOUND;
                someMissing = true;
            }
        }
        *count = n;
        *values = props;
        return someMissing ? MAPI_W_ERRORS_RETURNED : S_OK;
    }
    STDMETHODIMP GetPropList(ULONG, LPSPropTagArray* list) override {
        if (list) *list = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP OpenProperty(ULONG, LPCIID, ULONG, ULONG, LPUNKNOWN* object) override {
        if (object) *object = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP SetProps(ULONG count, LPSPropValue values, LPSPropProblemArray* problems) override {
        if (problems) *problems = nullptr;
        if (!values) return MAPI_E_INVALID_PARAMETER;
        bool saveNow = false;
        for (ULONG i = 0; i < count; ++i) {
            const ULONG tag = values[i].ulPropTag;
            const ULONG id = PROP_ID(tag);
            if (id == kPropIconIndex && PROP_TYPE(tag) == PT_LONG) {
                state_->data.iconIndex = static_cast<int>(values[i].Value.l);
            } else if (std::string* text = TextProperty(state_->data, id)) {
                if (PROP_TYPE(tag) == PT_STRING8 && values[i].Value.lpszA) *text = values[i].Value.lpszA;
                else if (PROP_TYPE(tag) == PT_UNICODE && values[i].Value.lpszW) *text = Narrow(values[i].Value.lpszW);
                else return MAPI_E_INVALID_PARAMETER;
                // A new message class takes effect at once.
                if (id == kPropMessageClass) saveNow = true;
            } else {
                return MAPI_E_NO_SUPPORT;
            }
        }
        if (saveNow && !SaveItem(*state_)) return MAPI_E_NOT_FOUND;
        return S_OK;
    }
    STDMETHODIMP DeleteProps(LPSPropTagArray, LPSPropProblemArray* problems) override {
        if (problems) *problems = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP CopyTo(ULONG, LPCIID, LPSPropTagArray, ULONG, LPMAPIPROGRESS, LPCIID, LPVOID, ULONG,
                        LPSPropProblemArray* problems) override {
        if (problems) *problems = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP CopyProps(LPSPropTagArray, ULONG, LPMAPIPROGRESS, LPCIID, LPVOID, ULONG, LPSPropProblemArray* problems) override {
        if (problems) *problems = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP GetNamesFromIDs(LPSPropTagArray*, LPGUID, ULONG, ULONG* count, LPMAPINAMEID**) override {
        if (count) *count = 0;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP GetIDsFromNames(ULONG, LPMAPINAMEID*, ULONG, LPSPropTagArray* tags) override {
        if (tags) *tags = nullptr;
        return MAPI_E_NO_SUPPORT;
    }

private:
    LONG references_ = 1;
    std::shared_ptr<ItemState> state_;
};

}  // namespace

IDispatch* NewItem(std::shared_ptr<ItemState> state) { return new Item(std::move(state)); }
IDispatch* NewFormDescription(std::shared_ptr<ItemState> state) { return new FormDescription(std::move(state)); }
IDispatch* NewPropertyAccessor(std::shared_ptr<ItemState> state) { return new PropertyAccessor(std::move(state)); }
IUnknown* NewMapiProp(std::shared_ptr<ItemState> state) { return new MapiProp(std::move(state)); }

bool SaveItem(ItemState& state) {
    ServerState& server = ServerState::Get();
    Store& store = server.store();
    if (state.stored) {
        ItemData* stored = store.FindItem(state.data.entryId);
        if (!stored) return false;
        *stored = state.data;
    } else {
        FolderData* folder = store.FindFolder(state.folderId);
        if (!folder) return false;
        state.data.entryId = store.NewEntryId(false);
        folder->items.push_back(state.data);
        state.stored = true;
    }
    return server.Save();
}

}  // namespace outlook_double
