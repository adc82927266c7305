// Outlook Express's toolbar size, read from the registry where each Windows keeps it.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/looks_win.h"

using namespace pagelark;

namespace {

class ExpressToolbarSize : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows Mail", L"Toolbar Icon Size");
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Identities");
    }
    static void SetDword(const wchar_t* key, DWORD value) {
        RegSetKeyValueW(HKEY_CURRENT_USER, key, L"Toolbar Icon Size", REG_DWORD, &value, sizeof value);
    }
};

}  // namespace

TEST_F(ExpressToolbarSize, DefaultsToLargeWhenNothingIsStored) {
    EXPECT_EQ(ReadExpressToolbarIconSize(10), 1);
    EXPECT_EQ(ReadExpressToolbarIconSize(5), 1);
}

TEST_F(ExpressToolbarSize, VistaAndLaterReadWindowsMail) {
    SetDword(L"Software\\Microsoft\\Windows Mail", 0);
    EXPECT_EQ(ReadExpressToolbarIconSize(6), 0);
    EXPECT_EQ(ReadExpressToolbarIconSize(5), 1);   // the older place is not looked at
}

TEST_F(ExpressToolbarSize, OlderWindowsReadTheDefaultIdentity) {
    const wchar_t identity[] = L"{4A1B2C3D-0000-1111-2222-333344445555}";
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Identities", L"Default User ID", REG_SZ, identity, sizeof identity);
    SetDword(L"Identities\\{4A1B2C3D-0000-1111-2222-333344445555}\\Software\\Microsoft\\Outlook Express\\5.0", 0);
    EXPECT_EQ(ReadExpressToolbarIconSize(5), 0);
    EXPECT_EQ(ReadExpressToolbarIconSize(10), 1);
}

TEST_F(ExpressToolbarSize, AWrongTypeOrAnOverlongIdentityGivesTheDefault) {
    const wchar_t text[] = L"0";
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows Mail", L"Toolbar Icon Size", REG_SZ, text,
                    sizeof text);
    EXPECT_EQ(ReadExpressToolbarIconSize(10), 1);
    std::wstring longIdentity(400, L'x');
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Identities", L"Default User ID", REG_SZ, longIdentity.c_str(),
                    static_cast<DWORD>((longIdentity.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(ReadExpressToolbarIconSize(5), 1);
}

TEST(WindowsVersion, IsReportedWithoutTheCompatibilityLie) {
    EXPECT_GE(WindowsMajorVersion(), 6);
}
