// The staged program folder holds every file the language table names, and each help file opens
// in the system's help viewer.
#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/wide_string_win.h"
#include "model/language.h"

using namespace pagelark;

namespace {

constexpr int kLanguageKeys[] = {7, 9, 10, 12, 16, 19};

std::wstring StageDir() {
    std::string dir = PAGELARK_STAGE_DIR;
    if (dir.starts_with('/')) dir = "Z:" + dir;
    for (char& c : dir)
        if (c == '/') c = '\\';
    return Widen(dir);
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HWND FindChildOfClass(HWND parent, const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        HWND found;
    } search{className, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (_wcsicmp(name, s->className) != 0) return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

// Each help file opens in the system's help viewer at its first topic, titled as that topic, with
// every topic in its table of contents.
TEST(ShippedDataFiles, EveryHelpFileOpensInTheHelpViewerWithAllItsTopics) {
    for (int key : kLanguageKeys) {
        const LanguageInfo language = LanguageForKey(key);
        SCOPED_TRACE(language.helpFile);
        const std::wstring chm = StageDir() + L"\\Help\\" + Widen(language.helpFile);
        HWND viewer = HtmlHelpW(GetDesktopWindow(), chm.c_str(), HH_DISPLAY_TOPIC, 0);
        ASSERT_NE(viewer, nullptr);
        wchar_t title[256] = {};
        GetWindowTextW(viewer, title, 256);
        EXPECT_NE(std::wstring(title), L"");
        EXPECT_EQ(std::wstring(title).find(L".htm"), std::wstring::npos) << Narrow(title);
        HWND contents = FindChildOfClass(viewer, WC_TREEVIEWW);
        ASSERT_NE(contents, nullptr);
        EXPECT_EQ(SendMessageW(contents, TVM_GETCOUNT, 0, 0), 9);
        HtmlHelpW(nullptr, nullptr, HH_CLOSE_ALL, 0);
    }
}

TEST(ShippedDataFiles, EveryFileOfTheLanguageTableIsInTheStagedProgramFolder) {
    const std::wstring stage = StageDir();
    std::vector<std::wstring> missing;
    for (int key : kLanguageKeys) {
        const LanguageInfo language = LanguageForKey(key);
        ASSERT_EQ(language.key, key);
        for (const std::wstring& path : {stage + L"\\Help\\" + Widen(language.helpFile),
                                         stage + L"\\Data\\" + Widen(language.termsFile),
                                         stage + L"\\Dictionaries\\" + Widen(language.lexiconFile),
                                         stage + L"\\Data\\" + Widen(language.countryFile)})
            if (!IsFile(path)) missing.push_back(path);
    }
    EXPECT_TRUE(IsFile(stage + L"\\Dictionaries\\LICENSES.txt"));
    // The user's own dictionary is the user's: nothing shipped may replace it.
    EXPECT_FALSE(IsFile(stage + L"\\Dictionaries\\custom.dic"));
    for (const std::wstring& path : missing) ADD_FAILURE() << "missing: " << Narrow(path);
}
