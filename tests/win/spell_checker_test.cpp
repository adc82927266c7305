// Spell checking against a real edit control, with a test double as engine (the real engine
// is tested in tests/unit and through the program in tests/blackbox).
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "common/wide_string_win.h"
#include "window/spell_checker_win.h"

using namespace pagelark;

namespace {

class OneWordEngine : public SpellEngine {
public:
    std::string wrong = "Grüsse";
    bool SetLanguage(const std::string&) override { return true; }
    bool RegisterUserDictionary(const std::string&, const std::string&) override { return true; }
    std::vector<SpellError> Check(const std::string& text) override {
        std::vector<SpellError> errors;
        for (size_t at = text.find(wrong); at != std::string::npos; at = text.find(wrong, at + 1))
            errors.push_back({at, wrong.size()});
        return errors;
    }
    std::vector<std::string> Suggest(const std::string&) override { return {"Grüße"}; }
    void Add(const std::string&) override {}
    void Ignore(const std::string&) override {}
};

class TakeFirstSuggestion : public SpellPrompt {
public:
    SpellDecision Ask(const std::string&, const std::vector<std::string>& s) override {
        return {SpellDecision::Kind::Change, s.front()};
    }
};

struct Editor {
    Editor() {
        hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_OVERLAPPED | ES_MULTILINE, 0, 0, 300, 200, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~Editor() { DestroyWindow(hwnd); }
    std::wstring Text() const {
        wchar_t text[512] = {};
        GetWindowTextW(hwnd, text, 512);
        return text;
    }
    HWND hwnd;
};

}  // namespace

TEST(SpellCheckerWin, CorrectionsLandInTheEditorAtTheRightCharactersAndCanBeUndone) {
    Editor editor;
    SetWindowTextW(editor.hwnd, L"Liebe Grüsse aus Köln,\r\nGrüsse €");
    CSpellChecker checker;
    ASSERT_TRUE(checker.Initialize(std::make_unique<OneWordEngine>(), "C:\\P", "SpellGER.lex"));
    EditSpellTarget target(editor.hwnd);
    TakeFirstSuggestion prompt;
    EXPECT_EQ(checker.Check(target, prompt), 2);
    EXPECT_EQ(editor.Text(), L"Liebe Grüße aus Köln,\r\nGrüße €");
    EXPECT_TRUE(SendMessageW(editor.hwnd, EM_CANUNDO, 0, 0));
    DWORD start = 0, end = 0;
    SendMessageW(editor.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    // The caret stands after the last correction, counted in UTF-16 characters: 23 + 5.
    EXPECT_EQ(start, 28u);
    EXPECT_EQ(end, 28u);
}

TEST(SpellCheckerWin, AMissingLexiconLeavesSpellingOffAndTheCommandSilent) {
    EXPECT_EQ(CreateLexiconEngine("C:\\nowhere", "SpellUS.lex"), nullptr);
    EXPECT_EQ(CreateLexiconEngine("C:\\nowhere", ""), nullptr);
    CSpellChecker checker;
    EXPECT_FALSE(checker.Initialize(CreateLexiconEngine("C:\\nowhere", "SpellUS.lex"), "C:\\nowhere", "SpellUS.lex"));
    Editor editor;
    SetWindowTextW(editor.hwnd, L"unchanged txet");
    RunSpellCheck(checker, nullptr, editor.hwnd);   // no dialog, no box: returns at once
    EXPECT_EQ(editor.Text(), L"unchanged txet");
}

namespace {
DWORD g_testThread = 0;
// Answers the spelling dialog of this thread with a button, from inside its modal loop.
void CALLBACK PressInSpellingDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    struct Find {
        static BOOL CALLBACK Each(HWND window, LPARAM found) {
            wchar_t cls[16] = {};
            GetClassNameW(window, cls, 16);
            if (std::wstring(cls) == L"#32770" && GetDlgItem(window, 1302)) *reinterpret_cast<HWND*>(found) = window;
            return TRUE;
        }
    };
    HWND dialog = nullptr;
    EnumThreadWindows(g_testThread, &Find::Each, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    KillTimer(nullptr, timer);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}
}  // namespace

TEST(SpellCheckerWin, TheSpellingDialogShowsTheWordAndCancelKeepsTheText) {
    Editor editor;
    ShowWindow(editor.hwnd, SW_SHOWNOACTIVATE);
    SetWindowTextW(editor.hwnd, L"Grüsse Grüsse");
    CSpellChecker checker;
    ASSERT_TRUE(checker.Initialize(std::make_unique<OneWordEngine>(), "C:\\P", "SpellGER.lex"));
    g_testThread = GetCurrentThreadId();
    SetTimer(nullptr, 0, 50, &PressInSpellingDialog);
    RunSpellCheck(checker, editor.hwnd, editor.hwnd);
    EXPECT_FALSE(checker.LastCheckFinished());
    EXPECT_EQ(editor.Text(), L"Grüsse Grüsse");
    // The word asked about was selected in the editor.
    DWORD start = 0, end = 0;
    SendMessageW(editor.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 6u);
}
