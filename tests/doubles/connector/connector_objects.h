#pragma once
// The stand-in's automation objects and the state they share. Apartment-threaded: every object
// and every event lives on the thread that made the first object (the program's UI thread).
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "connector_store.h"

namespace connector_double {

// Objects alive now (the leak report at unload counts them).
extern LONG g_liveObjects;

// A late-bound object: members looked up by name (case-insensitive), called through Call.
class DispatchObject : public IDispatch {
public:
    explicit DispatchObject(std::vector<const wchar_t*> members);
    virtual ~DispatchObject();
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

protected:
    // Arguments in written order; a failure's text goes into EXCEPINFO.
    virtual HRESULT Call(size_t member, WORD flags, const std::vector<VARIANT*>& args, VARIANT* result,
                         std::wstring& failure) = 0;

private:
    LONG references_ = 1;
    std::vector<const wchar_t*> members_;
};

// Made by the class factory for each registered class.
IDispatch* CreateInitObject();
IDispatch* CreateFolderManager();
IDispatch* CreateClientObject();
IDispatch* CreateIdentityObject();

// The control channel's commands (connector_control.cpp); each returns what the test is told.
long StartClient();                       // fires OnInitOEAPI; the number of receivers
long CloseClient();                       // fires OnShutdownOEAPI and removes the buttons
long ClickButton(size_t index);           // fires OnClick of button `index`; 0 when there is none
long SwitchIdentity(const std::string& identity);

// Creates the control window on the calling thread once (the first object's thread).
void EnsureControlWindow();
// A receiver that advises while the client already runs is told OnInitOEAPI once Advise has
// returned: PostGreeting queues it on the control window, which calls GreetReceiver.
void PostGreeting(const void* initObject);
long GreetReceiver(const void* initObject);

// The store as its file holds it now; SaveSharedStore writes a change back.
Store& SharedStore();
void SaveSharedStore();

}  // namespace connector_double
