#include "window/spell_checker_win.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/files.h"
#include "common/wide_string_win.h"
#include "resource_ids.h"
#include "ui/dialog_win.h"
#include "ui/resources_win.h"
#include "window/hunspell_engine.h"

namespace pagelark {
namespace {

constexpr int kMostSuggestions = 12;

// UTF-16 index -> UTF-8 offset and back, for texts of at most a few thousand characters.
std::size_t Utf16Index(const std::string& text, std::size_t utf8Offset) {
    return Widen(std::string_view(text).substr(0, std::min(utf8Offset, text.size()))).size();
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Where the unpacked lexicons go: "<temp>\Pagelark-lexicons", by its short (8.3) name where it
// has one, as Hunspell opens files by narrow path.
std::string LexiconWorkFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) return {};
    std::wstring folder = std::wstring(temp, length) + L"Pagelark-lexicons";
    CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t shortName[MAX_PATH + 1] = {};
    const DWORD shortLength = GetShortPathNameW(folder.c_str(), shortName, MAX_PATH + 1);
    if (shortLength > 0 && shortLength <= MAX_PATH) folder.assign(shortName, shortLength);
    return Narrow(folder);
}

// Asks about one misspelt word after the other; stays open until the walk is over or cancelled.
class SpellingDialog : public Dialog {
public:
    // The first question is asked before the dialog opens, so a text without mistakes opens none.
    SpellingDialog(CSpellChecker& checker, HWND editor, SpellQuestion first)
        : Dialog(IDD_SPELLING), checker_(checker), editor_(editor), target_(editor), first_(std::move(first)) {}

protected:
    BOOL OnInitDialog() override {
        PlaceBesideTheEditor();
        return Advance(std::move(first_)) ? FALSE : TRUE;
    }

    bool OnCommand(WORD id, WORD notification, HWND) override {
        switch (id) {
        case IDC_SPELL_SUGGESTIONS:
            if (notification == LBN_SELCHANGE) TakeSuggestion();
            if (notification == LBN_DBLCLK) Answer(SpellDecision::Kind::Change);
            return true;
        case IDC_SPELL_CHANGE: Answer(SpellDecision::Kind::Change); return true;
        case IDC_SPELL_CHANGE_ALL: Answer(SpellDecision::Kind::ChangeAll); return true;
        case IDC_SPELL_IGNORE: Answer(SpellDecision::Kind::Ignore); return true;
        case IDC_SPELL_IGNORE_ALL: Answer(SpellDecision::Kind::IgnoreAll); return true;
        case IDC_SPELL_ADD: Answer(SpellDecision::Kind::Add); return true;
        case IDCANCEL:
            checker_.Answer(target_, {SpellDecision::Kind::Stop, {}});
            End(IDCANCEL);
            return true;
        default: return false;
        }
    }

private:
    void Answer(SpellDecision::Kind kind) {
        const std::string replacement = Narrow(WindowText(Item(IDC_SPELL_CHANGE_TO)));
        checker_.Answer(target_, {kind, replacement});
        if (!Advance(checker_.NextQuestion(target_))) End(IDOK);
    }

    // Shows the next question; false when there is none.
    bool Advance(std::optional<SpellQuestion> question) {
        if (!question) return false;
        SetItemText(IDC_SPELL_WORD, Widen(question->word).c_str());
        HWND list = Item(IDC_SPELL_SUGGESTIONS);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        const int shown = std::min(static_cast<int>(question->suggestions.size()), kMostSuggestions);
        for (int i = 0; i < shown; ++i)
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(question->suggestions[i]).c_str()));
        const bool suggested = shown > 0;
        SendMessageW(list, LB_SETCURSEL, suggested ? 0 : static_cast<WPARAM>(-1), 0);
        SetItemText(IDC_SPELL_CHANGE_TO, Widen(suggested ? question->suggestions.front() : question->word).c_str());
        EnableWindow(list, suggested);
        PlaceBesideTheEditor();
        HWND focus = Item(suggested ? IDC_SPELL_CHANGE : IDC_SPELL_CHANGE_TO);
        SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
        if (!suggested) SendMessageW(focus, EM_SETSEL, 0, -1);
        return true;
    }

    void TakeSuggestion() {
        HWND list = Item(IDC_SPELL_SUGGESTIONS);
        const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
        if (index < 0) return;
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length < 0) return;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        SetItemText(IDC_SPELL_CHANGE_TO, text.c_str());
    }

    // Keeps the selected word in sight: the dialog goes below the word's line, or above it
    // when the screen has no room below.
    void PlaceBesideTheEditor() {
        DWORD start = 0;
        SendMessageW(editor_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        const LRESULT position = SendMessageW(editor_, EM_POSFROMCHAR, start, 0);
        if (position == -1) return;
        POINT word{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
        ClientToScreen(editor_, &word);
        RECT dialog{};
        GetWindowRect(hwnd(), &dialog);
        const int width = dialog.right - dialog.left, height = dialog.bottom - dialog.top;
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromPoint(word, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& work = monitor.rcWork;
        const int lineHeight = 2 * GetSystemMetrics(SM_CYMENU);
        int top = word.y + lineHeight;
        if (top + height > work.bottom) top = word.y - height - lineHeight / 2;
        const int left = std::clamp(static_cast<int>(word.x) - width / 3, static_cast<int>(work.left),
                                    std::max(static_cast<int>(work.left), static_cast<int>(work.right) - width));
        top = std::clamp(top, static_cast<int>(work.top), std::max(static_cast<int>(work.top), static_cast<int>(work.bottom) - height));
        SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    CSpellChecker& checker_;
    HWND editor_;
    EditSpellTarget target_;
    std::optional<SpellQuestion> first_;
};

}  // namespace

std::unique_ptr<SpellEngine> CreateLexiconEngine(std::string_view programFolder, std::string_view lexiconFile) {
    const std::string workFolder = LexiconWorkFolder();
    if (workFolder.empty() || lexiconFile.empty()) return nullptr;
    return CreateHunspellEngine(JoinPath(JoinPath(programFolder, "Dictionaries"), lexiconFile), workFolder);
}

std::string EditSpellTarget::Text() { return Narrow(WindowText(edit_)); }

void EditSpellTarget::Select(std::size_t start, std::size_t length) {
    const std::string text = Text();
    const auto from = static_cast<WPARAM>(Utf16Index(text, start));
    const auto to = static_cast<LPARAM>(Utf16Index(text, start + length));
    SendMessageW(edit_, EM_SETSEL, from, to);
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

void EditSpellTarget::Replace(std::size_t start, std::size_t length, const std::string& replacement) {
    Select(start, length);
    SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Widen(replacement).c_str()));
}

void RunSpellCheck(CSpellChecker& checker, HWND owner, HWND editor) {
    if (!checker.IsAvailable() || !editor || (GetWindowLongPtrW(editor, GWL_STYLE) & ES_READONLY)) return;
    EditSpellTarget target(editor);
    checker.Begin();
    if (std::optional<SpellQuestion> first = checker.NextQuestion(target)) {
        SpellingDialog dialog(checker, editor, std::move(*first));
        if (dialog.ShowModal(owner) != IDOK) return;
    }
    if (checker.LastCheckFinished()) ShowTextMessage(owner, IDS_SPELL_COMPLETE, MB_OK | MB_ICONINFORMATION);
}

}  // namespace pagelark
