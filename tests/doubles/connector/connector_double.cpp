// A mail connector for the tests: the four classes of the connector interface
// (docs/mail-connector.md), registered per test under HKLM\Software\Classes by the black-box
// helper tests/blackbox/connector_double.h. Its mail client lives in a store file
// (connector_store.h) and is driven through a control window (connector_control.cpp). At unload,
// objects still alive are reported in "<store file>.leaks".
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "connector_objects.h"

namespace connector_double {

HMODULE g_module = nullptr;
LONG g_locks = 0;

// The class ids the ProgIDs are registered with (kept in step with tests/blackbox/connector_double.cpp).
const CLSID kInitClass = {0x6b1f7a10, 0x3c2d, 0x4e51, {0x9a, 0x10, 0x5d, 0x2e, 0x7c, 0x41, 0x00, 0x01}};
const CLSID kFolderManagerClass = {0x6b1f7a10, 0x3c2d, 0x4e51, {0x9a, 0x10, 0x5d, 0x2e, 0x7c, 0x41, 0x00, 0x02}};
const CLSID kClientClass = {0x6b1f7a10, 0x3c2d, 0x4e51, {0x9a, 0x10, 0x5d, 0x2e, 0x7c, 0x41, 0x00, 0x03}};
const CLSID kIdentityClass = {0x6b1f7a10, 0x3c2d, 0x4e51, {0x9a, 0x10, 0x5d, 0x2e, 0x7c, 0x41, 0x00, 0x04}};

namespace {

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(IDispatch* (*create)()) : create_(create) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
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
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        IDispatch* made = create_();
        const HRESULT hr = made->QueryInterface(riid, object);
        made->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) InterlockedIncrement(&g_locks);
        else InterlockedDecrement(&g_locks);
        return S_OK;
    }

private:
    LONG references_ = 1;
    IDispatch* (*create_)();
};

void WriteLeakReport() {
    if (g_liveObjects == 0) return;
    const std::string path = StorePath() + ".leaks";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fprintf(file, "%ld connector objects still alive at unload\n", static_cast<long>(g_liveObjects));
        std::fclose(file);
    }
}

}  // namespace
}  // namespace connector_double

using namespace connector_double;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        WriteLeakReport();
    }
    return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID classId, REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    IDispatch* (*create)() = nullptr;
    if (IsEqualCLSID(classId, kInitClass)) create = CreateInitObject;
    else if (IsEqualCLSID(classId, kFolderManagerClass)) create = CreateFolderManager;
    else if (IsEqualCLSID(classId, kClientClass)) create = CreateClientObject;
    else if (IsEqualCLSID(classId, kIdentityClass)) create = CreateIdentityObject;
    if (!create) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new ClassFactory(create);
    const HRESULT hr = factory->QueryInterface(riid, object);
    factory->Release();
    return hr;
}

// Stays loaded: the control window and the store live for the process.
extern "C" HRESULT __stdcall DllCanUnloadNow() { return S_FALSE; }
