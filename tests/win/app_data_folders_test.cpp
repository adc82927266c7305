// The staged program folder holds every file the language table names, and every help file
// opens with HTML Help's own reader (the its: protocol of Wine's itss) at the topic the program
// shows.
#include <windows.h>
#include <objbase.h>
#include <htmlhelp.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/wide_string_win.h"
#include "model/language.h"

using namespace pagelark;

namespace {

constexpr int kLanguageKeys[] = {7, 9, 10, 12, 16, 19};
// The topic HTML Help shows at "default topic" (Help, F1); the program links to no other.
constexpr wchar_t kDefaultTopic[] = L"index.htm";

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

// The bytes of one topic inside a compiled help file, read through the its: protocol.
std::string ReadHelpTopic(const std::wstring& chm, const std::wstring& topic) {
    using OpenStream = HRESULT(WINAPI*)(IUnknown*, LPCWSTR, IStream**, DWORD, void*);
    static HMODULE urlmon = LoadLibraryW(L"urlmon.dll");
    static auto open = urlmon ? reinterpret_cast<OpenStream>(GetProcAddress(urlmon, "URLOpenBlockingStreamW")) : nullptr;
    if (!open) return {};
    IStream* stream = nullptr;
    const std::wstring url = L"its:" + chm + L"::/" + topic;
    if (FAILED(open(nullptr, url.c_str(), &stream, 0, nullptr)) || !stream) return {};
    std::string bytes;
    char buffer[4096];
    ULONG read = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &read)) && read > 0) bytes.append(buffer, read);
    stream->Release();
    return bytes;
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

TEST(ShippedDataFiles, EveryHelpFileOpensAtTheTopicTheProgramShows) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring stage = StageDir();
    for (int key : kLanguageKeys) {
        const LanguageInfo language = LanguageForKey(key);
        const std::wstring chm = Widen(HelpFilePath(Narrow(stage), language.helpFile));
        const std::string topic = ReadHelpTopic(chm, kDefaultTopic);
        EXPECT_NE(topic.find("<h1>"), std::string::npos) << language.helpFile;
        EXPECT_EQ(topic.find("{{"), std::string::npos) << language.helpFile << ": a text was not filled in";
        // The style sheet and the table of contents travel inside the file.
        EXPECT_FALSE(ReadHelpTopic(chm, L"style.css").empty()) << language.helpFile;
        EXPECT_FALSE(ReadHelpTopic(chm, L"toc.hhc").empty()) << language.helpFile;
        EXPECT_TRUE(ReadHelpTopic(chm, L"no_such_topic.htm").empty()) << language.helpFile;
    }
    CoUninitialize();
}
