#include "addin/addin.h"

#include <string>

#include "addin/addin_ids.h"
#include "addin/automation.h"
#include "addin/button_texts.h"
#include "addin/clipboard_keeper.h"
#include "addin/module.h"
#include "addin/program_link.h"

namespace quillbridge {
namespace {

constexpr wchar_t kStandardBar[] = L"Standard";
constexpr wchar_t kProgramMessageClass[] = L"IPM.Note.Pagelark";
constexpr wchar_t kButtonTag[] = L"SMS Tag";
constexpr long kButtonControl = 1;         // msoControlButton
constexpr long kBeforePosition = 2;
constexpr long kIconAndCaption = 3;        // msoButtonIconAndCaption
constexpr WORD kButtonFace = 201;          // bitmap resource

// Walks CommandBars.Item(1..Count) and takes the bar named "Standard", else the last one walked.
HRESULT FindToolbar(IDispatch* commandBars, ComPtr<IDispatch>& bar) {
    long count = 0;
    HRESULT hr = GetLong(commandBars, L"Count", count);
    if (FAILED(hr)) return hr;
    if (count < 1) return E_FAIL;
    for (long index = 1; index <= count; ++index) {
        const Argument position = Argument::Long(index);
        hr = GetDispatch(commandBars, L"Item", &position, 1, bar);
        if (FAILED(hr)) return hr;
        std::wstring name;
        if (SUCCEEDED(GetText(bar.get(), L"Name", name)) && name == kStandardBar) break;
    }
    return S_OK;
}

// Puts bitmap 201 on the clipboard, lets the button paste it as its face, and gives the user's
// clipboard back.
HRESULT PasteButtonFace(IDispatch* button) {
    HANDLE face = LoadImageW(ThisModule(), MAKEINTRESOURCEW(kButtonFace), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS);
    ClipboardKeeper clipboard;
    clipboard.Save();
    if (!face || !clipboard.PutBitmap(static_cast<HBITMAP>(face))) {
        if (face) DeleteObject(face);
    }
    HRESULT hr = PutLong(button, L"Style", kIconAndCaption);
    if (SUCCEEDED(hr)) hr = Call(button, L"PasteFace", DISPATCH_METHOD, nullptr, 0, nullptr);
    clipboard.Restore();
    return hr;
}

// The Open event's one argument: Cancel, a Boolean by reference.
VARIANT_BOOL* CancelFlag(DISPPARAMS* arguments) {
    if (!arguments || arguments->cArgs < 1 || !arguments->rgvarg) return nullptr;
    VARIANT& cancel = arguments->rgvarg[arguments->cArgs - 1];
    if (cancel.vt == (VT_BOOL | VT_BYREF)) return cancel.pboolVal;
    if (cancel.vt == (VT_VARIANT | VT_BYREF) && cancel.pvarVal && cancel.pvarVal->vt == VT_BOOL)
        return &cancel.pvarVal->boolVal;
    return nullptr;
}

}  // namespace

HRESULT Addin::Create(REFIID iid, void** object) {
    Addin* addin = new (std::nothrow) Addin();
    if (!addin) return E_OUTOFMEMORY;
    const HRESULT hr = addin->QueryInterface(iid, object);
    addin->Release();
    return hr;
}

Addin::Addin() { ObjectCreated(); }

Addin::~Addin() {
    ReleaseAll();
    ObjectDestroyed();
}

STDMETHODIMP Addin::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIAddinId || iid == kExtensibilityId) {
        *object = static_cast<IDTExtensibility2*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) Addin::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) Addin::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP Addin::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP Addin::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return Guarded([&] {
        ComPtr<ITypeLib> library;
        HRESULT hr = LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, library.Out());
        if (SUCCEEDED(hr)) hr = library->GetTypeInfoOfGuid(kIAddinId, info);
        return hr;
    });
}

STDMETHODIMP Addin::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
    if (ids)
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP Addin::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP Addin::OnConnection(IDispatch* application, ext_ConnectMode, IDispatch*, SAFEARRAY**) {
    if (!application) return E_POINTER;
    const HRESULT hr = Guarded([&] { return Connect(application); });
    if (FAILED(hr)) ReleaseAll();
    return hr;
}

STDMETHODIMP Addin::OnDisconnection(ext_DisconnectMode, SAFEARRAY**) {
    ReleaseAll();
    return S_OK;
}

STDMETHODIMP Addin::OnAddInsUpdate(SAFEARRAY**) { return S_OK; }
STDMETHODIMP Addin::OnStartupComplete(SAFEARRAY**) { return S_OK; }
STDMETHODIMP Addin::OnBeginShutdown(SAFEARRAY**) { return S_OK; }

HRESULT Addin::Connect(IDispatch* application) {
    ReleaseAll();
    HRESULT hr = QueryTo(application, kOutlookApplicationId, application_);
    if (FAILED(hr)) return hr;
    Variant explorer;
    hr = Call(application_.get(), L"ActiveExplorer", DISPATCH_METHOD, nullptr, 0, explorer.Out());
    if (FAILED(hr)) return hr;
    // Outlook running without its main window: nothing to put a button on.
    if (explorer.get().vt != VT_DISPATCH || !explorer.get().pdispVal) return S_OK;
    hr = QueryTo(explorer.get().pdispVal, IID_IDispatch, explorer_);
    if (FAILED(hr)) return hr;
    // Without the explorer's events the button still works; items are then left to Outlook.
    explorerEvents_.Connect(explorer_.get(), kExplorerEventsId,
                            [this](DISPID event, DISPPARAMS* arguments) { OnExplorerEvent(event, arguments); });
    ComPtr<IDispatch> commandBars;
    if (FAILED(GetDispatch(explorer_.get(), L"CommandBars", commandBars))) return E_FAIL;
    return AddButton(commandBars.get());
}

HRESULT Addin::AddButton(IDispatch* commandBars) {
    ComPtr<IDispatch> bar;
    HRESULT hr = FindToolbar(commandBars, bar);
    if (FAILED(hr)) return hr;
    ComPtr<IDispatch> controls;
    hr = GetDispatch(bar.get(), L"Controls", controls);
    if (FAILED(hr)) return hr;
    // Add(Type, Id, Parameter, Before, Temporary): a temporary button before the second control.
    const Argument add[] = {Argument::Long(kButtonControl), Argument::Missing(), Argument::Missing(),
                            Argument::Long(kBeforePosition), Argument::Bool(true)};
    ComPtr<IDispatch> button;
    hr = GetDispatch(controls.get(), L"Add", add, 5, button);
    if (FAILED(hr)) return hr;
    hr = PutBool(button.get(), L"BeginGroup", true);
    if (SUCCEEDED(hr)) hr = PasteButtonFace(button.get());
    if (FAILED(hr)) return hr;
    const ButtonTexts texts = ButtonTextsFor(PRIMARYLANGID(GetUserDefaultLangID()));
    hr = PutBool(button.get(), L"Visible", true);
    if (SUCCEEDED(hr)) hr = PutBool(button.get(), L"Enabled", true);
    if (SUCCEEDED(hr)) hr = PutText(button.get(), L"Tag", kButtonTag);
    if (SUCCEEDED(hr)) hr = PutText(button.get(), L"TooltipText", texts.toolTip);
    if (SUCCEEDED(hr)) hr = PutText(button.get(), L"Caption", texts.caption);
    if (SUCCEEDED(hr)) hr = PutBool(bar.get(), L"Visible", true);
    if (FAILED(hr)) return hr;
    hr = buttonEvents_.Connect(button.get(), kCommandBarButtonEventsId,
                               [this](DISPID event, DISPPARAMS* arguments) { OnButtonEvent(event, arguments); });
    if (FAILED(hr)) return hr;
    button_ = std::move(button);
    return S_OK;
}

void Addin::OnButtonEvent(DISPID event, DISPPARAMS*) {
    if (event == kClickEvent) OnClick();
}

void Addin::OnExplorerEvent(DISPID event, DISPPARAMS*) {
    if (event == kSelectionChangeEvent) OnSelectionChange();
    else if (event == kExplorerCloseEvent) DropExplorer();
}

void Addin::OnItemEvent(DISPID event, DISPPARAMS* arguments) {
    if (event == kItemOpenEvent) OnItemOpen(arguments);
}

void Addin::OnClick() { RequestNewMessage(ModulePath()); }

void Addin::OnSelectionChange() {
    if (!explorer_) return;   // the explorer closed; a late event finds nothing to watch
    ComPtr<IDispatch> selection;
    ComPtr<IDispatch> first;
    long count = 0;
    if (SUCCEEDED(GetDispatch(explorer_.get(), L"Selection", selection)) &&
        SUCCEEDED(GetLong(selection.get(), L"Count", count)) && count >= 1) {
        const Argument index = Argument::Long(1);
        GetDispatch(selection.get(), L"Item", &index, 1, first);
    }
    if (first && SameObject(first.get(), watchedItem_.get())) return;
    StopWatchingItem();
    if (!first) return;
    if (SUCCEEDED(itemEvents_.Connect(first.get(), kItemEventsId,
                                      [this](DISPID event, DISPPARAMS* arguments) { OnItemEvent(event, arguments); })))
        watchedItem_ = std::move(first);
}

void Addin::OnItemOpen(DISPPARAMS* arguments) {
    // Held for the call: the program's answer may come while Outlook changes the selection.
    ComPtr<IDispatch> item = ComPtr<IDispatch>::Share(watchedItem_.get());
    VARIANT_BOOL* cancel = CancelFlag(arguments);
    // Without a cancel flag Outlook would open the item too: it stays with Outlook.
    if (!item || !cancel) return;
    std::wstring messageClass;
    if (FAILED(GetText(item.get(), L"MessageClass", messageClass)) || messageClass != kProgramMessageClass) return;
    bool sent = true;
    if (FAILED(GetBool(item.get(), L"Sent", sent)) || sent) return;
    if (!FindProgramWindow()) return;
    std::wstring entryId;
    if (FAILED(GetText(item.get(), L"EntryID", entryId))) return;
    if (HandOverItem(entryId)) *cancel = VARIANT_TRUE;
}

void Addin::StopWatchingItem() noexcept {
    itemEvents_.Disconnect();
    watchedItem_.Reset();
}

void Addin::DropExplorer() noexcept {
    StopWatchingItem();
    explorerEvents_.Disconnect();
    explorer_.Reset();
}

void Addin::ReleaseAll() noexcept {
    buttonEvents_.Disconnect();
    DropExplorer();
    button_.Reset();
    application_.Reset();
}

}  // namespace quillbridge
