// Quillbridge.dll as an in-process COM server: its registration by regsvr32, compared key by key,
// its unregistration (nothing left but the shared AppID and CLSID keys), DllCanUnloadNow, and
// OnConnection against application objects that fail: every failure comes back as a result.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "addin/addin_ids.h"
#include "addin/extensibility.h"

namespace {

using quillbridge::IDTExtensibility2;

std::wstring StagedAddin() {
    std::string dir = PAGELARK_STAGE_DIR;
    if (dir.starts_with('/')) dir = "Z:" + dir;
    std::wstring path(dir.begin(), dir.end());
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path + L"\\Quillbridge.dll";
}

DWORD RunRegsvr32(const std::wstring& arguments) {
    std::wstring command = L"regsvr32.exe " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0xFFFFFFFF;
    DWORD code = 0xFFFFFFFE;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// The text of value `name` (nullptr: the default value), or nothing.
std::optional<std::wstring> Text(const std::wstring& path, const wchar_t* name = nullptr) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

const std::wstring kClassKey = std::wstring(L"CLSID\\") + quillbridge::kAddinClassIdText;
const std::wstring kAppIdKey = std::wstring(L"AppID\\") + quillbridge::kAppIdText;
const std::wstring kTypeLibKey = std::wstring(L"TypeLib\\") + quillbridge::kTypeLibIdText;
const std::wstring kInterfaceKey = L"Interface\\{31E45215-62DD-4CC5-9F28-6987CF23DD78}";
const wchar_t kOutlookAddinKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins\\PagelarkAddin.Addin";

class AddinRegistration : public ::testing::Test {
protected:
    void TearDown() override { RunRegsvr32(L"/u /s \"" + StagedAddin() + L"\""); }
};

TEST_F(AddinRegistration, Regsvr32WritesEveryKeyAndRemovesThemAgain) {
    const std::wstring dll = StagedAddin();
    ASSERT_NE(GetFileAttributesW(dll.c_str()), INVALID_FILE_ATTRIBUTES) << "not staged";
    RegDeleteTreeW(HKEY_CURRENT_USER, kOutlookAddinKey);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kOutlookAddinKey);
    ASSERT_EQ(RunRegsvr32(L"/s \"" + dll + L"\""), 0u);

    EXPECT_EQ(Text(kAppIdKey), L"PagelarkAddin");
    EXPECT_EQ(Text(L"AppID\\Quillbridge.DLL", L"AppID"), quillbridge::kAppIdText);
    EXPECT_EQ(Text(L"PagelarkAddin.Addin.1"), L"Addin Class");
    EXPECT_EQ(Text(L"PagelarkAddin.Addin.1\\CLSID"), quillbridge::kAddinClassIdText);
    EXPECT_EQ(Text(L"PagelarkAddin.Addin"), L"Addin Class");
    EXPECT_EQ(Text(L"PagelarkAddin.Addin\\CLSID"), quillbridge::kAddinClassIdText);
    EXPECT_EQ(Text(L"PagelarkAddin.Addin\\CurVer"), L"PagelarkAddin.Addin.1");
    EXPECT_EQ(Text(kClassKey), L"Addin Class");
    EXPECT_EQ(Text(kClassKey, L"AppID"), quillbridge::kAppIdText);
    EXPECT_EQ(Text(kClassKey + L"\\ProgID"), L"PagelarkAddin.Addin.1");
    EXPECT_EQ(Text(kClassKey + L"\\VersionIndependentProgID"), L"PagelarkAddin.Addin");
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kClassKey + L"\\Programmable"));
    EXPECT_EQ(Lower(Text(kClassKey + L"\\InprocServer32").value_or(L"")), Lower(dll));
    EXPECT_EQ(Text(kClassKey + L"\\InprocServer32", L"ThreadingModel"), L"Single");
    EXPECT_EQ(Text(kClassKey + L"\\TypeLib"), quillbridge::kTypeLibIdText);
    EXPECT_EQ(Text(kTypeLibKey + L"\\1.0"), L"PagelarkAddin 1.0 Type Library");
    EXPECT_EQ(Lower(Text(kTypeLibKey + L"\\1.0\\0\\win64").value_or(L"")), Lower(dll));
    // Outlook's own add-in key is the installer's business.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kOutlookAddinKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOutlookAddinKey));

    // Reachable by its ProgID, with the Office add-in interface.
    CLSID byProgId{};
    ASSERT_EQ(CLSIDFromProgID(L"PagelarkAddin.Addin", &byProgId), S_OK);
    EXPECT_TRUE(IsEqualCLSID(byProgId, quillbridge::kAddinClassId));
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IDTExtensibility2* addin = nullptr;
    EXPECT_EQ(CoCreateInstance(byProgId, nullptr, CLSCTX_INPROC_SERVER, quillbridge::kExtensibilityId,
                               reinterpret_cast<void**>(&addin)),
              S_OK);
    if (addin) {
        UINT count = 0;
        EXPECT_EQ(addin->GetTypeInfoCount(&count), S_OK);
        ITypeInfo* info = nullptr;
        EXPECT_EQ(addin->GetTypeInfo(0, 0, &info), S_OK);   // IAddin, from the embedded library
        if (info) info->Release();
        addin->Release();
    }
    CoUninitialize();

    // A second registration writes the class key anew.
    HKEY stale = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (kClassKey + L"\\Stale").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &stale, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(stale);
    ASSERT_EQ(RunRegsvr32(L"/s \"" + dll + L"\""), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey + L"\\Stale"));
    EXPECT_EQ(Text(kClassKey + L"\\ProgID"), L"PagelarkAddin.Addin.1");

    ASSERT_EQ(RunRegsvr32(L"/u /s \"" + dll + L"\""), 0u);
    for (const std::wstring& gone : {kClassKey, kAppIdKey, std::wstring(L"AppID\\Quillbridge.DLL"),
                                     std::wstring(L"PagelarkAddin.Addin.1"), std::wstring(L"PagelarkAddin.Addin"),
                                     kTypeLibKey, kInterfaceKey})
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, gone)) << std::string(gone.begin(), gone.end());
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"AppID"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
    // Unregistering what is not registered is no failure.
    EXPECT_EQ(RunRegsvr32(L"/u /s \"" + dll + L"\""), 0u);
}

// --- the DLL loaded directly ---

class AddinLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        module_ = LoadLibraryW(StagedAddin().c_str());
        ASSERT_NE(module_, nullptr);
        canUnload_ = reinterpret_cast<HRESULT(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
        getClass_ = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
        ASSERT_NE(canUnload_, nullptr);
        ASSERT_NE(getClass_, nullptr);
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
        CoUninitialize();
    }

    IDTExtensibility2* NewAddin() {
        IClassFactory* factory = nullptr;
        if (FAILED(getClass_(quillbridge::kAddinClassId, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
            return nullptr;
        IDTExtensibility2* addin = nullptr;
        factory->CreateInstance(nullptr, quillbridge::kExtensibilityId, reinterpret_cast<void**>(&addin));
        factory->Release();
        return addin;
    }

    HMODULE module_ = nullptr;
    HRESULT(WINAPI* canUnload_)() = nullptr;
    HRESULT(WINAPI* getClass_)(REFCLSID, REFIID, void**) = nullptr;
};

TEST_F(AddinLibrary, CanUnloadOnlyWithoutLiveObjectsOrLocks) {
    EXPECT_EQ(canUnload_(), S_OK);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClass_(quillbridge::kAddinClassId, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(canUnload_(), S_FALSE);
    IUnknown* addin = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&addin)), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(canUnload_(), S_FALSE);   // the add-in and the lock
    addin->Release();
    EXPECT_EQ(canUnload_(), S_FALSE);   // the lock
    ASSERT_EQ(getClass_(quillbridge::kAddinClassId, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    factory->LockServer(FALSE);
    factory->Release();
    EXPECT_EQ(canUnload_(), S_OK);

    IUnknown* other = nullptr;
    EXPECT_EQ(getClass_(IID_IUnknown, IID_IClassFactory, reinterpret_cast<void**>(&other)), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(other, nullptr);
    IUnknown* aggregated = nullptr;
    ASSERT_EQ(getClass_(quillbridge::kAddinClassId, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory), IID_IUnknown,
                                      reinterpret_cast<void**>(&aggregated)),
              CLASS_E_NOAGGREGATION);
    factory->Release();
    EXPECT_EQ(canUnload_(), S_OK);
}

// An automation object whose members answer as the test says; every other member is unknown.
class FakeObject : public IDispatch {
public:
    using Member = std::function<HRESULT(VARIANT* result)>;
    FakeObject(std::map<std::wstring, Member> members, bool isApplication = true)
        : members_(std::move(members)), isApplication_(isApplication) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || (isApplication_ && iid == quillbridge::kOutlookApplicationId)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* id) override {
        DISPID next = 1;
        for (const auto& [name, member] : members_) {
            if (_wcsicmp(name.c_str(), names[0]) == 0) {
                *id = next;
                return S_OK;
            }
            ++next;
        }
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO* exception,
                        UINT*) override {
        DISPID next = 1;
        for (const auto& [name, member] : members_) {
            if (next++ != id) continue;
            if (result) VariantInit(result);
            const HRESULT hr = member(result);
            if (hr == DISP_E_EXCEPTION && exception) {
                *exception = EXCEPINFO{};
                exception->scode = E_ACCESSDENIED;
                exception->bstrDescription = SysAllocString(L"The operation failed.");
            }
            return hr;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    virtual ~FakeObject() = default;
    ULONG references_ = 1;
    std::map<std::wstring, Member> members_;
    bool isApplication_;
};

FakeObject::Member ReturnsObject(IDispatch* object) {
    return [object](VARIANT* result) {
        object->AddRef();
        result->vt = VT_DISPATCH;
        result->pdispVal = object;
        return S_OK;
    };
}

TEST_F(AddinLibrary, OnConnectionTurnsEveryFailureIntoAResult) {
    IDTExtensibility2* addin = NewAddin();
    ASSERT_NE(addin, nullptr);
    EXPECT_TRUE(FAILED(addin->OnConnection(nullptr, quillbridge::ext_cm_Startup, nullptr, nullptr)));

    // Not Outlook's application object.
    auto* notOutlook = new FakeObject({}, false);
    EXPECT_EQ(addin->OnConnection(notOutlook, quillbridge::ext_cm_Startup, nullptr, nullptr), E_NOINTERFACE);

    // Outlook without its main window: connected, no button.
    auto* noWindow = new FakeObject({{L"ActiveExplorer", [](VARIANT*) { return S_OK; }}});
    EXPECT_EQ(addin->OnConnection(noWindow, quillbridge::ext_cm_Startup, nullptr, nullptr), S_OK);
    EXPECT_EQ(addin->OnDisconnection(quillbridge::ext_dm_HostShutdown, nullptr), S_OK);

    // The object model raises an exception: it comes back as the failure result.
    auto* raising = new FakeObject({{L"ActiveExplorer", [](VARIANT*) { return DISP_E_EXCEPTION; }}});
    EXPECT_EQ(addin->OnConnection(raising, quillbridge::ext_cm_Startup, nullptr, nullptr), E_ACCESSDENIED);

    // An explorer without command bars: the general failure.
    auto* bare = new FakeObject({{L"CommandBars", [](VARIANT*) { return DISP_E_EXCEPTION; }}}, false);
    auto* withBareExplorer = new FakeObject({{L"ActiveExplorer", ReturnsObject(bare)}});
    EXPECT_EQ(addin->OnConnection(withBareExplorer, quillbridge::ext_cm_Startup, nullptr, nullptr), E_FAIL);

    // Command bars without a single bar.
    auto* noBars = new FakeObject({{L"Count", [](VARIANT* result) {
                                        result->vt = VT_I4;
                                        result->lVal = 0;
                                        return S_OK;
                                    }}},
                                  false);
    auto* explorer = new FakeObject({{L"CommandBars", ReturnsObject(noBars)}}, false);
    auto* withEmptyBars = new FakeObject({{L"ActiveExplorer", ReturnsObject(explorer)}});
    EXPECT_TRUE(FAILED(addin->OnConnection(withEmptyBars, quillbridge::ext_cm_Startup, nullptr, nullptr)));

    EXPECT_EQ(addin->OnStartupComplete(nullptr), S_OK);
    EXPECT_EQ(addin->OnAddInsUpdate(nullptr), S_OK);
    EXPECT_EQ(addin->OnBeginShutdown(nullptr), S_OK);
    EXPECT_EQ(addin->OnDisconnection(quillbridge::ext_dm_UserClosed, nullptr), S_OK);
    addin->Release();
    for (FakeObject* fake : {notOutlook, noWindow, raising, bare, withBareExplorer, noBars, explorer, withEmptyBars})
        fake->Release();
    EXPECT_EQ(canUnload_(), S_OK);   // the add-in kept nothing of them
}

}  // namespace
