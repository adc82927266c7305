// Entry points of the two doubles built from these sources: the Extended MAPI provider that
// HKLM\SOFTWARE\Clients\Mail\Microsoft Outlook "DLLPathEx" names (and that Wine's mapi32.dll
// forwards its allocator and HrQueryAllRows to), and wab32.dll named by
// HKLM\Software\Microsoft\WAB\DLLPath.
//
// The data file: the environment variable PAGELARK_MAPI_DOUBLE_DATA / PAGELARK_WAB_DOUBLE_DATA,
// else "<dll name>.data" beside the DLL. At unload, objects still alive or buffers not freed are
// reported in "<data file>.leaks" (and by DoubleLiveObjects / DoubleOpenBuffers while loaded).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "double_data.h"
#include "double_objects.h"

namespace {

HMODULE g_module = nullptr;
std::string g_dataPath;
long g_initialized = 0;

#ifdef WAB_DOUBLE
constexpr char kDataVariable[] = "PAGELARK_WAB_DOUBLE_DATA";
#else
constexpr char kDataVariable[] = "PAGELARK_MAPI_DOUBLE_DATA";
#endif

std::string DataPath() {
    // The process environment, not the C runtime's copy made at start: tests set it later.
    char fromEnvironment[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(kDataVariable, fromEnvironment, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return fromEnvironment;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(g_module, path, MAX_PATH);
    std::string beside = path;
    const size_t dot = beside.rfind('.');
    if (dot != std::string::npos) beside.resize(dot);
    return beside + ".data";
}

bool LoadData() {
    g_dataPath = DataPath();
    std::lock_guard lock(doubles::DataMutex());
    return doubles::TheData().Load(g_dataPath);
}

void ReportLeaks() {
    const long objects = doubles::LiveObjects();
    const long buffers = doubles::OpenBuffers();
    if ((objects == 0 && buffers == 0) || g_dataPath.empty()) return;
    if (FILE* report = std::fopen((g_dataPath + ".leaks").c_str(), "w")) {
        std::fprintf(report, "live objects: %ld\nopen buffers: %ld\n", objects, buffers);
        std::fclose(report);
    }
    OutputDebugStringA("address-book double: leaked objects or buffers at unload\n");
}

#ifdef WAB_DOUBLE
// IWABObject as published: IUnknown, then these thirteen methods in this order.
// Final with a plain destructor: a virtual one would take vtable slots in front of the methods.
class WabObject final : public IUnknown {
public:
    WabObject() { doubles::ObjectCreated(); }
    ~WabObject() { doubles::ObjectDestroyed(); }
    STDMETHOD(QueryInterface)(REFIID, void** object) override {
        if (!object) return E_POINTER;
        *object = this;
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    STDMETHOD_(ULONG, Release)() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    STDMETHOD(GetLastError)(HRESULT, ULONG, LPMAPIERROR*) { return MAPI_E_NO_SUPPORT; }
    STDMETHOD(AllocateBuffer)(ULONG size, LPVOID* block) { return doubles::Allocate(size, block); }
    STDMETHOD(AllocateMore)(ULONG size, LPVOID parent, LPVOID* block) {
        return doubles::AllocateMore(size, parent, block);
    }
    STDMETHOD(FreeBuffer)(LPVOID block) { return static_cast<HRESULT>(doubles::Free(block)); }
    STDMETHOD(Backup)(LPSTR) { return MAPI_E_NO_SUPPORT; }
    STDMETHOD(Import)(LPSTR) { return MAPI_E_NO_SUPPORT; }
    STDMETHOD(Find)(LPADRBOOK, HWND) { return MAPI_E_NO_SUPPORT; }
    STDMETHOD(VCardDisplay)(LPADRBOOK, HWND, LPSTR) { return MAPI_E_NO_SUPPORT; }
    STDMETHOD(LDAPUrl)(LPADRBOOK, HWND, ULONG, LPSTR, LPMAILUSER*) { return MAPI_E_NO_SUPPORT; }
    STDMETHOD(VCardCreate)(LPADRBOOK, ULONG, LPSTR, LPMAILUSER) { return MAPI_E_NO_SUPPORT; }
    STDMETHOD(VCardRetrieve)(LPADRBOOK, ULONG, LPSTR, LPMAILUSER*) { return MAPI_E_NO_SUPPORT; }
    STDMETHOD(GetMe)(LPADRBOOK, ULONG, DWORD*, SBinary*, ULONG) { return MAPI_E_NO_SUPPORT; }
    STDMETHOD(SetMe)(LPADRBOOK, ULONG, SBinary, ULONG) { return MAPI_E_NO_SUPPORT; }

private:
    LONG references_ = 1;
};

// WAB_PARAM as published (48 bytes in a 64-bit process).
struct WabParam {
    ULONG cbSize;
    HWND hwnd;
    LPSTR szFileName;
    ULONG ulFlags;
    GUID guidPSExt;
};
#endif

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = module;
    if (reason == DLL_PROCESS_DETACH) ReportLeaks();
    return TRUE;
}

__declspec(dllexport) long DoubleLiveObjects() { return doubles::LiveObjects(); }
__declspec(dllexport) long DoubleOpenBuffers() { return doubles::OpenBuffers(); }

SCODE WINAPI DoubleAllocateBuffer(ULONG size, LPVOID* block) { return doubles::Allocate(size, block); }
SCODE WINAPI DoubleAllocateMore(ULONG size, LPVOID parent, LPVOID* block) {
    return doubles::AllocateMore(size, parent, block);
}
ULONG WINAPI DoubleFreeBuffer(LPVOID block) { return doubles::Free(block); }

#ifdef WAB_DOUBLE
HRESULT WINAPI DoubleWabOpen(LPADRBOOK* book, IUnknown** wab, WabParam* param, DWORD) {
    if (!book || !wab || !param || param->cbSize != sizeof(WabParam)) return E_INVALIDARG;
    if (!LoadData()) return MAPI_E_NOT_FOUND;
    {
        std::lock_guard lock(doubles::DataMutex());
        if (doubles::TheData().Fails("WABOpen")) return MAPI_E_CALL_FAILED;
    }
    *book = doubles::NewAddressBook();
    *wab = new WabObject();
    return S_OK;
}
#else
HRESULT WINAPI DoubleMapiInitialize(LPVOID) {
    InterlockedIncrement(&g_initialized);
    return S_OK;
}
void WINAPI DoubleMapiUninitialize() { InterlockedDecrement(&g_initialized); }
HRESULT WINAPI DoubleMapiAdminProfiles(ULONG, LPPROFADMIN*) { return MAPI_E_NO_SUPPORT; }
HRESULT WINAPI DoubleMapiLogonEx(ULONG_PTR, LPTSTR, LPTSTR, ULONG, LPMAPISESSION* session) {
    if (!session) return MAPI_E_INVALID_PARAMETER;
    if (g_initialized <= 0) return MAPI_E_NOT_INITIALIZED;
    if (!LoadData()) return MAPI_E_LOGON_FAILED;
    {
        std::lock_guard lock(doubles::DataMutex());
        if (doubles::TheData().logonFails) return MAPI_E_LOGON_FAILED;
    }
    *session = doubles::NewSession();
    return S_OK;
}
HRESULT WINAPI DoubleHrQueryAllRows(LPMAPITABLE table, LPSPropTagArray columns, LPSRestriction restriction,
                                    LPSSortOrderSet, LONG, LPSRowSet* result) {
    if (!table || !result) return MAPI_E_INVALID_PARAMETER;
    const auto* rows = doubles::RowsOf(table);
    if (!rows) return MAPI_E_CALL_FAILED;
    std::vector<doubles::RowData> matching;
    for (const auto& row : *rows)
        if (doubles::Matches(row, restriction)) matching.push_back(row);
    return doubles::BuildRowSet(matching, columns, result);
}
#endif

}  // extern "C"
