// The staged program folder holds every file the language table names.
#include <windows.h>

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

}  // namespace

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
