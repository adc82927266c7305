// Spell checking through the real program under Wine, with the lexicons the build stages:
// corrections in place, German sharp s, the user's own dictionary across windows, a missing
// lexicon.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver.h"
#include "resource_ids.h"

namespace {

using namespace pagelark::blackbox;

constexpr int kEditor = IDC_MESSAGE_EDITOR, kSpellWord = IDC_SPELL_WORD, kChangeTo = IDC_SPELL_CHANGE_TO,
              kSuggestions = IDC_SPELL_SUGGESTIONS, kChange = IDC_SPELL_CHANGE, kAdd = IDC_SPELL_ADD,
              kSpellChecking = ID_SPELL_CHECKING, kNew = ID_NEW;

std::wstring DictionariesFolder() { return EnvVar("PAGELARK_DIR") + L"\\Dictionaries"; }

std::vector<std::wstring> ListItems(HWND list) {
    std::vector<std::wstring> items;
    const LRESULT count = Send(list, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        if (Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i)) < 255)
            Send(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

bool Has(const std::vector<std::wstring>& items, const std::wstring& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

class SpellingBlackBox : public ::testing::Test {
protected:
    void SetUp() override {
        if (EnvVar("PAGELARK_EXE").empty()) GTEST_SKIP() << "PAGELARK_EXE is not set";
        KillLeftovers();
        ResetSettings();
        // An account without a password: the status request fails at once with a box that
        // each window shows; the tests put it away before they start checking.
        SetSettingString(L"UserName", L"speller");
    }
    void TearDown() override {
        KillLeftovers();
        // A case that stopped early must not leave custom.dic blocked for the others.
        RemoveDirectoryW((DictionariesFolder() + L"\\custom.dic").c_str());
    }

    void Start(DWORD language) {
        SetSettingDword(L"Language", language);
        program_ = Program::Launch();
        ASSERT_TRUE(program_.Started());
        main_ = WaitForWindow(kMainTitle);
        ASSERT_NE(main_, nullptr);
    }

    // A new message window with `text` in its editor, its status box answered.
    HWND OpenWithText(const std::wstring& text) {
        const size_t before = FindTopWindows(nullptr, kFrameClass, program_.Pid()).size();
        PostCommand(main_, kNew);
        HWND frame = nullptr;
        WaitUntil([&] {
            for (HWND w : FindTopWindows(nullptr, kFrameClass, program_.Pid()))
                if (IsWindowVisible(w) && Control(w, kEditor)) frame = w;
            return frame && FindTopWindows(nullptr, kFrameClass, program_.Pid()).size() > before;
        });
        if (!frame) return nullptr;
        if (HWND box = WaitForDialog(program_.Pid(), nullptr, 5s)) PressButton(box, IDOK);
        WaitUntil([&] { return FindDialogs(program_.Pid()).empty(); }, 3s);
        SetText(Control(frame, kEditor), text);
        return frame;
    }

    // Runs Spell Checking; the spelling dialog, or nullptr when none opened.
    HWND SpellCheck(HWND frame, const wchar_t* caption) {
        PostCommand(frame, kSpellChecking);
        return WaitForDialog(program_.Pid(), caption, 5s);
    }

    // The closing message of a finished check, put away.
    std::wstring FinishMessage() {
        HWND box = WaitForDialog(program_.Pid(), L"Pagelark", 5s);
        if (!box) return {};
        std::wstring text = DialogMessage(box);
        PressButton(box, IDOK);
        WaitUntil([&] { return !IsWindow(box); }, 3s);
        return text;
    }

    Program program_;
    HWND main_ = nullptr;
};

}  // namespace

TEST_F(SpellingBlackBox, MisspeltEnglishWordGetsSuggestionsAndIsCorrectedInPlace) {
    Start(9);
    HWND frame = OpenWithText(L"Please call me tomorow at noon.");
    ASSERT_NE(frame, nullptr);
    HWND dialog = SpellCheck(frame, L"Spelling");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetText(Control(dialog, kSpellWord)), L"tomorow");
    EXPECT_TRUE(Has(ListItems(Control(dialog, kSuggestions)), L"tomorrow"));
    // The word stands selected in the editor while the dialog asks.
    DWORD start = 0, end = 0;
    Send(Control(frame, kEditor), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 15u);
    EXPECT_EQ(end, 22u);
    SetText(Control(dialog, kChangeTo), L"tomorrow");
    PressButton(dialog, kChange);
    EXPECT_EQ(FinishMessage(), L"The spell check is complete.");
    EXPECT_EQ(GetText(Control(frame, kEditor)), L"Please call me tomorrow at noon.");
}

TEST_F(SpellingBlackBox, GermanSharpSIsAcceptedAndOfferedForDoubleS) {
    Start(7);
    HWND frame = OpenWithText(L"Viele Grüsse und liebe Grüße aus Köln");
    ASSERT_NE(frame, nullptr);
    HWND dialog = SpellCheck(frame, L"Rechtschreibung");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetText(Control(dialog, kSpellWord)), L"Grüsse");
    EXPECT_TRUE(Has(ListItems(Control(dialog, kSuggestions)), L"Grüße"));
    SetText(Control(dialog, kChangeTo), L"Grüße");
    PressButton(dialog, kChange);
    // No second question: "Grüße" and the rest are German.
    EXPECT_EQ(FinishMessage(), L"Die Rechtschreibprüfung ist abgeschlossen.");
    EXPECT_EQ(GetText(Control(frame, kEditor)), L"Viele Grüße und liebe Grüße aus Köln");
}

TEST_F(SpellingBlackBox, AddedWordGoesIntoCustomDicAndTheNextWindowAcceptsIt) {
    const std::wstring custom = DictionariesFolder() + L"\\custom.dic";
    DeleteFileW(custom.c_str());
    Start(9);
    HWND first = OpenWithText(L"Zorblatix rocks");
    ASSERT_NE(first, nullptr);
    HWND dialog = SpellCheck(first, L"Spelling");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetText(Control(dialog, kSpellWord)), L"Zorblatix");
    PressButton(dialog, kAdd);
    EXPECT_EQ(FinishMessage(), L"The spell check is complete.");

    EXPECT_EQ(ReadFileText(custom), "Zorblatix\r\n");

    HWND second = OpenWithText(L"Zorblatix again");
    ASSERT_NE(second, nullptr);
    PostCommand(second, kSpellChecking);
    EXPECT_EQ(FinishMessage(), L"The spell check is complete.");   // nothing asked
    EXPECT_TRUE(FindDialogs(program_.Pid(), L"Spelling").empty());
    KillLeftovers();
    DeleteFileW(custom.c_str());
}

// A standard user cannot write into the program folder of a per-machine installation; a folder
// in the way of custom.dic stands for that here. The word must not be lost.
TEST_F(SpellingBlackBox, AddedWordGoesIntoThePersonalDictionaryWhenCustomDicCannotBeWritten) {
    const std::wstring custom = DictionariesFolder() + L"\\custom.dic";
    const std::wstring personal = EnvVar("APPDATA") + L"\\Pagelark\\custom.dic";
    DeleteFileW(custom.c_str());
    DeleteFileW(personal.c_str());
    ASSERT_TRUE(CreateDirectoryW(custom.c_str(), nullptr));
    Start(9);
    HWND first = OpenWithText(L"Quorvexil rocks");
    ASSERT_NE(first, nullptr);
    HWND dialog = SpellCheck(first, L"Spelling");
    ASSERT_NE(dialog, nullptr);
    PressButton(dialog, kAdd);
    EXPECT_EQ(FinishMessage(), L"The spell check is complete.");
    EXPECT_EQ(ReadFileText(personal), "Quorvexil\r\n");

    KillLeftovers();
    Start(9);   // a new run: the word comes from the personal dictionary, not from memory
    HWND second = OpenWithText(L"Quorvexil again");
    ASSERT_NE(second, nullptr);
    PostCommand(second, kSpellChecking);
    EXPECT_EQ(FinishMessage(), L"The spell check is complete.");
    EXPECT_TRUE(FindDialogs(program_.Pid(), L"Spelling").empty());
    KillLeftovers();
    DeleteFileW(personal.c_str());
}

TEST_F(SpellingBlackBox, MissingLexiconLeavesTheWindowWorkingWithoutSpelling) {
    const std::wstring lexicon = DictionariesFolder() + L"\\SpellUS.lex";
    const std::wstring aside = lexicon + L".aside";
    ASSERT_TRUE(MoveFileExW(lexicon.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING));
    Start(9);
    HWND frame = OpenWithText(L"tomorow");
    const bool opened = frame != nullptr;
    if (opened) {
        PostCommand(frame, kSpellChecking);
        EXPECT_EQ(WaitForDialog(program_.Pid(), nullptr, 1500ms), nullptr);   // neither dialog nor box
        bool answered = false;
        Send(frame, WM_NULL, 0, 0, &answered);
        EXPECT_TRUE(answered);
        SetText(Control(frame, kEditor), L"still typing");
        EXPECT_EQ(GetText(Control(frame, kEditor)), L"still typing");
    }
    KillLeftovers();
    MoveFileExW(aside.c_str(), lexicon.c_str(), MOVEFILE_REPLACE_EXISTING);
    EXPECT_TRUE(opened);
}
