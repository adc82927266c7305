#include "connector_objects.h"

#include <string>

namespace connector_double {

LONG g_liveObjects = 0;

namespace {

std::string Narrow(const wchar_t* text, UINT length) {
    if (!text || length == 0) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), size, nullptr, nullptr);
    return out;
}

bool TextOf(const VARIANT* value, std::string& text) {
    if (!value) return false;
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_BSTR))) return false;
    text = Narrow(converted.bstrVal, SysStringLen(converted.bstrVal));
    VariantClear(&converted);
    return true;
}

bool LongOf(const VARIANT* value, long& number) {
    if (!value) return false;
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_I4))) return false;
    number = converted.lVal;
    return true;
}

IDispatch* DispatchOf(const VARIANT* value) {
    if (!value) return nullptr;
    if (value->vt == VT_DISPATCH) return value->pdispVal;
    if (value->vt == (VT_DISPATCH | VT_BYREF) && value->ppdispVal) return *value->ppdispVal;
    return nullptr;
}

void ReturnObject(VARIANT* result, IDispatch* object) {
    if (!result) {
        object->Release();
        return;
    }
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
}

void ReturnText(VARIANT* result, const std::string& text) {
    if (!result) return;
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

bool IsPut(WORD flags) { return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }

// The receivers given to Advise: by the object that holds them.
enum class Source { Init, Button };
struct Receiver {
    const void* object;
    Source source;
    IDispatch* sink;
};
std::vector<Receiver> g_receivers;

HRESULT AddReceiver(const void* object, Source source, const std::vector<VARIANT*>& args) {
    IDispatch* sink = args.empty() ? nullptr : DispatchOf(args[0]);
    if (!sink) return E_INVALIDARG;
    sink->AddRef();
    g_receivers.push_back({object, source, sink});
    return S_OK;
}

void RemoveReceivers(const void* object) {
    for (size_t i = 0; i < g_receivers.size();) {
        if (g_receivers[i].object == object) {
            IDispatch* sink = g_receivers[i].sink;
            g_receivers.erase(g_receivers.begin() + static_cast<long>(i));
            sink->Release();
        } else {
            ++i;
        }
    }
}

// --- classes

class FolderObject final : public DispatchObject {
public:
    FolderObject(std::string identity, int kind)
        : DispatchObject({L"CreateMessage"}), identity_(std::move(identity)), kind_(kind) {}

protected:
    HRESULT Call(size_t, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result, std::wstring& failure) override {
        std::string source;
        long options = 0;
        if (IsPut(flags) || args.size() != 2 || !TextOf(args[0], source) || !LongOf(args[1], options)) {
            failure = L"CreateMessage(source, flags) expected";
            return DISP_E_BADPARAMCOUNT;
        }
        Store& store = SharedStore();
        store.messages.push_back({identity_, kind_, source});
        SaveSharedStore();
        if (result) {
            result->vt = VT_I4;
            result->lVal = static_cast<long>(store.messages.size());
        }
        return S_OK;
    }

private:
    std::string identity_;
    int kind_;
};

class FolderManagerObject final : public DispatchObject {
public:
    // The folders are those of the identity current when the manager was made.
    FolderManagerObject() : DispatchObject({L"GetStandardFolder"}), identity_(SharedStore().identity) {}

protected:
    HRESULT Call(size_t, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result, std::wstring& failure) override {
        long kind = 0;
        if (IsPut(flags) || args.size() != 1 || !LongOf(args[0], kind) || kind < 1 || kind > 5) {
            failure = L"GetStandardFolder: folder kind 1 to 5 expected";
            return E_INVALIDARG;
        }
        ReturnObject(result, new FolderObject(identity_, static_cast<int>(kind)));
        return S_OK;
    }

private:
    std::string identity_;
};

class ButtonObject final : public DispatchObject {
public:
    explicit ButtonObject(size_t index) : DispatchObject({L"Tooltip", L"Advise", L"Unadvise"}), index_(index) {}
    ~ButtonObject() override { RemoveReceivers(this); }

protected:
    HRESULT Call(size_t member, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result, std::wstring&) override {
        Store& store = SharedStore();
        if (member == 0) {
            if (index_ >= store.buttons.size()) return E_FAIL;   // removed with its toolbar
            if (!IsPut(flags)) {
                ReturnText(result, store.buttons[index_].tooltip);
                return S_OK;
            }
            std::string tooltip;
            if (args.size() != 1 || !TextOf(args[0], tooltip)) return E_INVALIDARG;
            store.buttons[index_].tooltip = tooltip;
            SaveSharedStore();
            return S_OK;
        }
        if (member == 1) return AddReceiver(this, Source::Button, args);
        RemoveReceivers(this);
        return S_OK;
    }

private:
    size_t index_;
};

class ToolbarObject final : public DispatchObject {
public:
    ToolbarObject() : DispatchObject({L"CreateButton"}) {}

protected:
    HRESULT Call(size_t, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result, std::wstring& failure) override {
        Button button;
        if (IsPut(flags) || args.size() != 3 || !TextOf(args[0], button.caption) || !TextOf(args[1], button.image) ||
            !TextOf(args[2], button.highlighted)) {
            failure = L"CreateButton(caption, image, highlightedImage) expected";
            return DISP_E_BADPARAMCOUNT;
        }
        Store& store = SharedStore();
        if (!store.running) {
            failure = L"The mail client is not running";
            return E_FAIL;
        }
        store.buttons.push_back(button);
        SaveSharedStore();
        ReturnObject(result, new ButtonObject(store.buttons.size() - 1));
        return S_OK;
    }
};

class ClientObject final : public DispatchObject {
public:
    ClientObject() : DispatchObject({L"GetToolbar", L"Close"}) {}

protected:
    HRESULT Call(size_t member, WORD flags, const std::vector<VARIANT*>&, VARIANT* result, std::wstring& failure) override {
        if (IsPut(flags)) return DISP_E_MEMBERNOTFOUND;
        Store& store = SharedStore();
        if (member == 0) {
            if (!store.running) {
                failure = L"The mail client is not running";
                return E_FAIL;
            }
            ReturnObject(result, new ToolbarObject());
            return S_OK;
        }
        // Close: the program leaves; its buttons go.
        store.buttons.clear();
        SaveSharedStore();
        return S_OK;
    }
};

class IdentityObject final : public DispatchObject {
public:
    IdentityObject() : DispatchObject({L"CurrentIdentity"}) {}

protected:
    HRESULT Call(size_t, WORD flags, const std::vector<VARIANT*>&, VARIANT* result, std::wstring&) override {
        if (IsPut(flags)) return DISP_E_MEMBERNOTFOUND;
        ReturnText(result, SharedStore().identity);
        return S_OK;
    }
};

class InitObject final : public DispatchObject {
public:
    InitObject() : DispatchObject({L"Advise", L"Unadvise"}) { EnsureControlWindow(); }
    ~InitObject() override { RemoveReceivers(this); }

protected:
    HRESULT Call(size_t member, WORD flags, const std::vector<VARIANT*>& args, VARIANT*, std::wstring&) override {
        if (IsPut(flags)) return DISP_E_MEMBERNOTFOUND;
        if (member == 0) {
            const HRESULT hr = AddReceiver(this, Source::Init, args);
            if (SUCCEEDED(hr) && SharedStore().running) PostGreeting(this);
            return hr;
        }
        RemoveReceivers(this);
        return S_OK;
    }
};

// Calls `event` on every receiver of `source` kind (and of `object`, when given).
long FireOn(Source source, const void* object, const wchar_t* event) {
    // A copy: a receiver may unadvise (or advise) while it is called.
    std::vector<Receiver> receivers;
    for (const Receiver& receiver : g_receivers)
        if (receiver.source == source && (!object || receiver.object == object)) receivers.push_back(receiver);
    for (const Receiver& receiver : receivers) receiver.sink->AddRef();
    long called = 0;
    for (const Receiver& receiver : receivers) {
        LPOLESTR name = const_cast<LPOLESTR>(event);
        DISPID id = DISPID_UNKNOWN;
        DISPPARAMS none{};
        if (SUCCEEDED(receiver.sink->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)) &&
            SUCCEEDED(receiver.sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr)))
            ++called;
        receiver.sink->Release();
    }
    return called;
}

}  // namespace

DispatchObject::DispatchObject(std::vector<const wchar_t*> members) : members_(std::move(members)) {
    InterlockedIncrement(&g_liveObjects);
}

DispatchObject::~DispatchObject() { InterlockedDecrement(&g_liveObjects); }

STDMETHODIMP DispatchObject::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DispatchObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) DispatchObject::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP DispatchObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (size_t member = 0; member < members_.size(); ++member) {
        if (names[0] && _wcsicmp(names[0], members_[member]) == 0) {
            ids[0] = static_cast<DISPID>(member + 1);
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP DispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                    EXCEPINFO* exception, UINT*) {
    if (id < 1 || static_cast<size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
    if (result) VariantInit(result);
    std::vector<VARIANT*> args;
    if (params) {
        // DISPPARAMS holds the arguments last to first; a property put's value is the named one.
        for (UINT i = params->cArgs; i > 0; --i) {
            VARIANT* value = &params->rgvarg[i - 1];
            while (value && value->vt == (VT_VARIANT | VT_BYREF)) value = value->pvarVal;
            args.push_back(value);
        }
    }
    std::wstring failure;
    const HRESULT hr = Call(static_cast<size_t>(id - 1), flags, args, result, failure);
    if (FAILED(hr) && !failure.empty() && exception) {
        *exception = EXCEPINFO{};
        exception->bstrSource = SysAllocString(L"Pagelark connector stand-in");
        exception->bstrDescription = SysAllocString(failure.c_str());
        exception->scode = hr;
        return DISP_E_EXCEPTION;
    }
    return hr;
}

IDispatch* CreateInitObject() { return new InitObject(); }
IDispatch* CreateFolderManager() { return new FolderManagerObject(); }
IDispatch* CreateClientObject() { return new ClientObject(); }
IDispatch* CreateIdentityObject() { return new IdentityObject(); }

long StartClient() {
    Store& store = SharedStore();
    store.running = true;
    SaveSharedStore();
    return FireOn(Source::Init, nullptr, L"OnInitOEAPI");
}

long GreetReceiver(const void* initObject) {
    // Gone meanwhile (unadvised or released): its pointer is no longer among the receivers.
    return SharedStore().running ? FireOn(Source::Init, initObject, L"OnInitOEAPI") : 0;
}

long CloseClient() {
    const long called = FireOn(Source::Init, nullptr, L"OnShutdownOEAPI");
    Store& store = SharedStore();
    store.running = false;
    store.buttons.clear();
    SaveSharedStore();
    return called;
}

long ClickButton(size_t index) {
    // The receivers of button objects, in the order they advised: `index` picks one.
    std::vector<const void*> buttons;
    for (const Receiver& receiver : g_receivers)
        if (receiver.source == Source::Button) buttons.push_back(receiver.object);
    if (index >= buttons.size() || !SharedStore().running) return 0;
    return FireOn(Source::Button, buttons[index], L"OnClick");
}

long SwitchIdentity(const std::string& identity) {
    SharedStore().identity = identity;
    SaveSharedStore();
    return 1;
}

}  // namespace connector_double
