#pragma once
// The add-in object Outlook loads: puts the "New SMS" button on the explorer's Standard toolbar,
// and watches the selected item so that opening an unsent SMS item hands it to the program.
#include <windows.h>

#include "addin/com_ptr.h"
#include "addin/event_sink.h"
#include "addin/extensibility.h"

namespace quillbridge {

// IAddin: the type library's default interface of the class, a dispatch interface without members.
using IAddin = IDispatch;

class Addin final : public IDTExtensibility2 {
public:
    static HRESULT Create(REFIID iid, void** object);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    STDMETHODIMP OnConnection(IDispatch* application, ext_ConnectMode, IDispatch*, SAFEARRAY**) override;
    STDMETHODIMP OnDisconnection(ext_DisconnectMode, SAFEARRAY**) override;
    STDMETHODIMP OnAddInsUpdate(SAFEARRAY**) override;
    STDMETHODIMP OnStartupComplete(SAFEARRAY**) override;
    STDMETHODIMP OnBeginShutdown(SAFEARRAY**) override;

private:
    Addin();
    ~Addin();

    HRESULT Connect(IDispatch* application);
    HRESULT AddButton(IDispatch* commandBars);
    void OnButtonEvent(DISPID event, DISPPARAMS* arguments);
    void OnExplorerEvent(DISPID event, DISPPARAMS* arguments);
    void OnItemEvent(DISPID event, DISPPARAMS* arguments);
    void OnClick();
    void OnSelectionChange();
    void OnItemOpen(DISPPARAMS* arguments);
    void StopWatchingItem() noexcept;
    void DropExplorer() noexcept;
    void ReleaseAll() noexcept;

    LONG references_ = 1;
    ComPtr<IDispatch> application_;
    ComPtr<IDispatch> explorer_;
    ComPtr<IDispatch> button_;
    ComPtr<IDispatch> watchedItem_;
    EventConnection explorerEvents_;
    EventConnection buttonEvents_;
    EventConnection itemEvents_;
};

}  // namespace quillbridge
