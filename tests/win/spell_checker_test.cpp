// Spell checking against a real edit control; the engine is the system's where there is one
// (not under Wine) and a test double otherwise.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "common/wide_string_win.h"
#include "window/spell_checker_win.h"

using namespace pagelark;

namespace {

class OneWordEngine : public SpellEngine {
public:
    std::string wrong = "Grüsse";
    bool SetLanguage(const std::string&) override { return true; }
    bool RegisterUserDictionary(const std::string&) override { return true; }
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

void CALLBACK CloseMenus(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EndMenu();
}

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

TEST(SpellCheckerWin, TheSystemEngineIsUsedWhereItExistsAndMissesSilentlyElsewhere) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::unique_ptr<SpellEngine> engine = CreateWindowsSpellEngine();
    CSpellChecker checker;
    const bool available = checker.Initialize(std::move(engine), "C:\\P", "SpellUS.lex");
    Editor editor;
    SetWindowTextW(editor.hwnd, L"unchanged text");
    if (!available) {
        // Wine and older Windows: no engine, and the command changes nothing and shows nothing.
        RunSpellCheck(checker, nullptr, editor.hwnd);
        EXPECT_EQ(editor.Text(), L"unchanged text");
    } else {
        EXPECT_TRUE(checker.IsAvailable());
    }
    CoUninitialize();
}

TEST(SpellCheckerWin, ClosingTheSuggestionMenuStopsTheCheck) {
    Editor editor;
    ShowWindow(editor.hwnd, SW_SHOWNOACTIVATE);
    SetWindowTextW(editor.hwnd, L"Grüsse Grüsse");
    MenuSpellPrompt prompt(editor.hwnd, editor.hwnd);
    SetTimer(nullptr, 0, 100, &CloseMenus);
    const SpellDecision decision = prompt.Ask("Grüsse", {"Grüße"});
    EXPECT_EQ(decision.kind, SpellDecision::Kind::Stop);
    EXPECT_EQ(editor.Text(), L"Grüsse Grüsse");
}
