// Application, NameSpace, Folders, MAPIFolder and Items of the double.
#include <cstdio>

#include "addin_host.h"
#include "dispatch_object.h"
#include "objects.h"

namespace outlook_double {

namespace {

// The message class kept in an Outlook template: the first UTF-16 text starting with "IPM." in the
// file (templates store PR_MESSAGE_CLASS as a Unicode string stream).
std::string TemplateMessageClass(const std::string& bytes) {
    static const char kPrefix[] = {'I', 0, 'P', 0, 'M', 0, '.', 0};
    const size_t at = bytes.find(std::string(kPrefix, sizeof kPrefix));
    if (at == std::string::npos) return {};
    std::string text;
    for (size_t i = at; i + 1 < bytes.size() && text.size() < 255; i += 2) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == 0 || bytes[i + 1] != 0) break;
        text += static_cast<char>(c);
    }
    return text;
}

class Application : public DispatchObject {
public:
    Application()
        : DispatchObject(L"Application", {L"GetNamespace", L"CreateItemFromTemplate", L"ActiveExplorer", L"Version",
                                          L"Name", L"Session", L"Quit"}) {}

    // _Application is a dual interface: add-ins ask for it by its published identifier.
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (object && riid == kApplicationIid) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        return DispatchObject::QueryInterface(riid, object);
    }

protected:
    CallError Call(size_t member, WORD, const Arguments& args, VARIANT* result) override {
        switch (member) {
        case 0: {   // GetNamespace(Type)
            if (args.Text(0) != "MAPI") return BadArgument();
            ReturnObject(result, NewNameSpace());
            return {};
        }
        case 1: {   // CreateItemFromTemplate(TemplatePath, [InFolder])
            const std::string path = args.Text(0);
            const std::string bytes = path.empty() ? std::string() : ReadFileText(Widen(path));
            if (bytes.size() < 512 || bytes.compare(0, 4, "\xD0\xCF\x11\xE0") != 0)
                return Fail(static_cast<HRESULT>(0x80030002), L"Cannot open file. The file may not exist, or it is not an Outlook template.");
            auto state = std::make_shared<ItemState>();
            const std::string messageClass = TemplateMessageClass(bytes);
            state->data.messageClass = messageClass.empty() ? "IPM.Note" : messageClass;
            const FolderData* folder = nullptr;
            if (IDispatch* inFolder = args.Dispatch(1)) folder = ServerState::Get().store().FindFolder(FolderIdOf(inFolder));
            if (!folder) folder = ServerState::Get().store().DefaultFolder(16);
            if (folder) state->folderId = folder->entryId;
            ReturnObject(result, NewItem(state));
            return {};
        }
        case 2:   // ActiveExplorer: the add-in host's main window, else none
            result->vt = VT_DISPATCH;
            result->pdispVal = HostActiveExplorer();
            return {};
        case 3: {
            char version[32];
            std::snprintf(version, sizeof version, "%d.0.0.4000", PlayedVersion());
            ReturnText(result, version);
            return {};
        }
        case 4: ReturnText(result, "Outlook"); return {};
        case 5: ReturnObject(result, NewNameSpace()); return {};
        case 6: return {};
        default: return Fail(DISP_E_MEMBERNOTFOUND, L"");
        }
    }

private:
    IDispatch* NewNameSpace();
};

class NameSpace : public DispatchObject {
public:
    NameSpace()
        : DispatchObject(L"NameSpace", {L"Logon", L"Logoff", L"GetDefaultFolder", L"GetItemFromID", L"GetFolderFromID",
                                        L"Folders", L"Type"}) {}

protected:
    CallError Call(size_t member, WORD, const Arguments& args, VARIANT* result) override {
        Store& store = ServerState::Get().store();
        switch (member) {
        case 0:   // Logon([Profile], [Password], [ShowDialog], [NewSession]): the current profile
        case 1:   // Logoff
            return {};
        case 2: {   // GetDefaultFolder(FolderType)
            bool ok = false;
            const long number = args.Long(0, &ok);
            const FolderData* folder = ok ? store.DefaultFolder(static_cast<int>(number)) : nullptr;
            if (!folder) return NotFound();
            ReturnObject(result, NewFolder(folder->entryId));
            return {};
        }
        case 3: {   // GetItemFromID(EntryIDItem, [EntryIDStore])
            FolderData* folder = nullptr;
            const ItemData* item = store.FindItem(args.Text(0), &folder);
            if (!item) return NotFound();
            auto state = std::make_shared<ItemState>();
            state->data = *item;
            state->folderId = folder->entryId;
            state->stored = true;
            ReturnObject(result, NewItem(state));
            return {};
        }
        case 4: {   // GetFolderFromID(EntryIDFolder, [EntryIDStore])
            const FolderData* folder = store.FindFolder(args.Text(0));
            if (!folder) return NotFound();
            ReturnObject(result, NewFolder(folder->entryId));
            return {};
        }
        case 5: ReturnObject(result, NewFolders("")); return {};
        case 6: ReturnText(result, "MAPI"); return {};
        default: return Fail(DISP_E_MEMBERNOTFOUND, L"");
        }
    }
};

IDispatch* Application::NewNameSpace() { return new NameSpace(); }

class Folders : public DispatchObject {
public:
    explicit Folders(std::string parentId) : DispatchObject(L"Folders", {L"Count", L"Item"}), parentId_(std::move(parentId)) {}

protected:
    CallError Call(size_t member, WORD, const Arguments& args, VARIANT* result) override {
        Store& store = ServerState::Get().store();
        std::vector<const FolderData*> children;
        if (parentId_.empty()) {
            for (const StoreData& s : store.stores()) children.push_back(&s.root);
        } else {
            const FolderData* parent = store.FindFolder(parentId_);
            if (!parent) return NotFound();
            for (const FolderData& child : parent->folders) children.push_back(&child);
        }
        if (member == 0) {
            ReturnLong(result, static_cast<long>(children.size()));
            return {};
        }
        // Item(Index): 1-based number or folder name.
        const VARIANT* index = args.At(0);
        if (!index) return BadArgument();
        const FolderData* found = nullptr;
        if (index->vt == VT_BSTR) {
            const std::string name = args.Text(0);
            for (const FolderData* child : children)
                if (child->name == name) found = child;
        } else {
            bool ok = false;
            const long number = args.Long(0, &ok);
            if (ok && number >= 1 && static_cast<size_t>(number) <= children.size()) found = children[static_cast<size_t>(number - 1)];
        }
        if (!found) return Fail(static_cast<HRESULT>(0x8002000B), L"Array index out of bounds.");
        ReturnObject(result, NewFolder(found->entryId));
        return {};
    }

private:
    std::string parentId_;
};

class Folder : public DispatchObject {
public:
    explicit Folder(std::string entryId)
        : DispatchObject(L"MAPIFolder", {L"Name", L"EntryID", L"DefaultItemType", L"Items", L"Folders", L"StoreID"}),
          entryId_(std::move(entryId)) {}

protected:
    CallError Call(size_t member, WORD flags, const Arguments& args, VARIANT* result) override {
        FolderData* folder = ServerState::Get().store().FindFolder(entryId_);
        if (!folder) return NotFound();
        switch (member) {
        case 0:
            if (IsPut(flags)) {
                const VARIANT* value = args.PutValue();
                if (!value || value->vt != VT_BSTR) return BadArgument();
                folder->name = Narrow(std::wstring(value->bstrVal, SysStringLen(value->bstrVal)));
                ServerState::Get().Save();
                return {};
            }
            ReturnText(result, folder->name);
            return {};
        case 1: ReturnText(result, folder->entryId); return {};
        case 2: ReturnLong(result, folder->defaultItemType); return {};
        case 3: ReturnObject(result, NewItems(entryId_)); return {};
        case 4: ReturnObject(result, NewFolders(entryId_)); return {};
        case 5: ReturnText(result, ""); return {};
        default: return Fail(DISP_E_MEMBERNOTFOUND, L"");
        }
    }

private:
    std::string entryId_;
};

class Items : public DispatchObject {
public:
    explicit Items(std::string folderId) : DispatchObject(L"Items", {L"Add", L"Count", L"Item"}), folderId_(std::move(folderId)) {}

protected:
    CallError Call(size_t member, WORD, const Arguments& args, VARIANT* result) override {
        FolderData* folder = ServerState::Get().store().FindFolder(folderId_);
        if (!folder) return NotFound();
        switch (member) {
        case 0: {   // Add([Type]): a message class, or an OlItemType number
            auto state = std::make_shared<ItemState>();
            state->folderId = folderId_;
            const VARIANT* type = args.At(0);
            if (type && type->vt == VT_BSTR) {
                state->data.messageClass = args.Text(0);
                if (state->data.messageClass.rfind("IPM", 0) != 0) return BadArgument();
            } else if (type) {
                const long number = args.Long(0);
                static const char* const kClasses[] = {"IPM.Note", "IPM.Appointment", "IPM.Contact", "IPM.Task",
                                                       "IPM.Activity", "IPM.StickyNote", "IPM.Post"};
                if (number < 0 || number > 6) return BadArgument();
                state->data.messageClass = kClasses[number];
            }
            ReturnObject(result, NewItem(state));
            return {};
        }
        case 1: ReturnLong(result, static_cast<long>(folder->items.size())); return {};
        case 2: {
            bool ok = false;
            const long number = args.Long(0, &ok);
            if (!ok || number < 1 || static_cast<size_t>(number) > folder->items.size())
                return Fail(static_cast<HRESULT>(0x8002000B), L"Array index out of bounds.");
            auto state = std::make_shared<ItemState>();
            state->data = folder->items[static_cast<size_t>(number - 1)];
            state->folderId = folderId_;
            state->stored = true;
            ReturnObject(result, NewItem(state));
            return {};
        }
        default: return Fail(DISP_E_MEMBERNOTFOUND, L"");
        }
    }

private:
    std::string folderId_;
};

}  // namespace

IDispatch* NewApplication() { return new Application(); }
IDispatch* NewFolders(const std::string& parentId) { return new Folders(parentId); }
IDispatch* NewFolder(const std::string& entryId) { return new Folder(entryId); }
IDispatch* NewItems(const std::string& folderId) { return new Items(folderId); }

int PlayedVersion() {
    wchar_t buffer[128] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CLASSES_ROOT, L"Outlook.Application\\CurVer", nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return 11;
    const wchar_t* dot = wcsrchr(buffer, L'.');
    const int version = dot ? _wtoi(dot + 1) : 0;
    return version > 0 ? version : 11;
}

std::string FolderIdOf(IDispatch* folder) {
    if (!folder) return {};
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"EntryID");
    if (FAILED(folder->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return {};
    DISPPARAMS none{};
    VARIANT value;
    VariantInit(&value);
    if (FAILED(folder->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr)) ||
        value.vt != VT_BSTR) {
        VariantClear(&value);
        return {};
    }
    std::string text = Narrow(std::wstring(value.bstrVal, SysStringLen(value.bstrVal)));
    VariantClear(&value);
    return text;
}

}  // namespace outlook_double
