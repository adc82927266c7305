#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "mailclients/mail_bridge_win.h"
#include "mailclients/host_registry_win.h"

using namespace pagelark;

namespace {

constexpr wchar_t kScratch[] = L"Software\\Orvane\\PagelarkWindowTests";

class HostRegistry : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kScratch); }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvane\\Pagelark\\TestSeams");
    }
    static void SetText(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
        RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
};

}  // namespace

TEST_F(HostRegistry, TextValuesAreBoundedAndTyped) {
    SetText(kScratch, L"Short", L"Microsoft Outlook");
    SetText(kScratch, L"Long", std::wstring(200, L'x'));   // 402 bytes: more than is read
    const DWORD number = 7;
    RegSetKeyValueW(HKEY_CURRENT_USER, kScratch, L"Number", REG_DWORD, &number, sizeof(number));
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, kScratch, L"Short"), "Microsoft Outlook");
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, kScratch, L"Long"), std::nullopt);
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, kScratch, L"Number"), std::nullopt);
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, kScratch, L"Missing"), std::nullopt);
    EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kScratch, L"Number"), 7u);
    EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kScratch, L"Short"), std::nullopt);
}

TEST_F(HostRegistry, WordEditorNeedsADwordWithItsLowestBit) {
    constexpr wchar_t kMail[] = L"Software\\Microsoft\\Office\\97.0\\Outlook\\Options\\Mail";
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\97.0");
    EXPECT_FALSE(ReadOutlookWordEditor(97));
    DWORD word = 0x20001;
    RegSetKeyValueW(HKEY_CURRENT_USER, kMail, L"EditorPreference", REG_DWORD, &word, sizeof(word));
    EXPECT_TRUE(ReadOutlookWordEditor(97));
    SetText(kMail, L"EditorPreference", L"1");
    EXPECT_FALSE(ReadOutlookWordEditor(97));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\97.0");
}

TEST_F(HostRegistry, TheOldContactsFileSeamHasNoEffect) {
    // Contacts come from the address books only; a leftover test-seam value changes nothing.
    SetText(L"Software\\Orvane\\Pagelark\\TestSeams", L"ContactsFile", L"C:\\windows\\win.ini");
    const Settings settings;
    const auto bridge = CreateMailBridge(settings, nullptr);
    EXPECT_TRUE(bridge->Contacts(HostClient::Outlook)->empty());
    EXPECT_TRUE(bridge->Contacts(HostClient::OutlookExpress)->empty());
}
