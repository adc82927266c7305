// The installer package and the Outlook add-in: Pagelark.msi installs Quillbridge.dll with the COM
// registration DllRegisterServer would write and Outlook's add-in key, and its removal takes all
// of it away again.
#include <windows.h>
#include <objbase.h>

#include "addin/addin_ids.h"
#include "addin/extensibility.h"
#include "update_fixture.h"

namespace pagelark::update_tests {
namespace {

const std::wstring kClassKey = std::wstring(L"CLSID\\") + quillbridge::kAddinClassIdText;
const std::wstring kTypeLibKey = std::wstring(L"TypeLib\\") + quillbridge::kTypeLibIdText + L"\\1.0";
constexpr wchar_t kOutlookAddinKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins\\PagelarkAddin.Addin";

std::wstring ClassesText(const std::wstring& key, const wchar_t* name = nullptr) {
    return bb::GetString(HKEY_CLASSES_ROOT, key.c_str(), name).value_or(L"<none>");
}

TEST_F(UpdateTest, PackageRegistersTheOutlookAddinAndItsRemovalUnregistersIt) {
    UninstallPackage(L"Pagelark.msi");   // a leftover of an interrupted run
    ASSERT_EQ(InstallPackage(L"Pagelark.msi"), 0u);
    const std::wstring dll = std::wstring(kInstallDir) + L"\\Quillbridge.dll";
    EXPECT_NE(GetFileAttributesW(dll.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(_wcsicmp(ClassesText(kClassKey + L"\\InprocServer32").c_str(), dll.c_str()), 0);
    EXPECT_EQ(ClassesText(kClassKey + L"\\InprocServer32", L"ThreadingModel"), L"Single");
    EXPECT_EQ(ClassesText(kClassKey + L"\\ProgID"), L"PagelarkAddin.Addin.1");
    EXPECT_EQ(ClassesText(L"PagelarkAddin.Addin\\CurVer"), L"PagelarkAddin.Addin.1");
    EXPECT_EQ(ClassesText(std::wstring(L"AppID\\") + quillbridge::kAppIdText), L"PagelarkAddin");
    EXPECT_EQ(_wcsicmp(ClassesText(kTypeLibKey + L"\\0\\win64").c_str(), dll.c_str()), 0);
    EXPECT_EQ(bb::GetDword(HKEY_LOCAL_MACHINE, kOutlookAddinKey, L"LoadBehavior").value_or(0), 3u);

    // What Outlook does with the key: the ProgID leads to the installed add-in.
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    CLSID classId{};
    ASSERT_EQ(CLSIDFromProgID(L"PagelarkAddin.Addin", &classId), S_OK);
    quillbridge::IDTExtensibility2* addin = nullptr;
    EXPECT_EQ(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, quillbridge::kExtensibilityId,
                               reinterpret_cast<void**>(&addin)),
              S_OK);
    if (addin) addin->Release();
    CoFreeUnusedLibraries();
    CoUninitialize();

    ASSERT_EQ(UninstallPackage(L"Pagelark.msi"), 0u);
    EXPECT_EQ(GetFileAttributesW(dll.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ClassesText(kClassKey), L"<none>");
    EXPECT_EQ(ClassesText(L"PagelarkAddin.Addin"), L"<none>");
    EXPECT_EQ(ClassesText(kTypeLibKey), L"<none>");
    EXPECT_FALSE(bb::GetDword(HKEY_LOCAL_MACHINE, kOutlookAddinKey, L"LoadBehavior"));
}

}  // namespace
}  // namespace pagelark::update_tests
