#include "window/spell_checker_win.h"

#include <objbase.h>
#include <spellcheck.h>

#include <string>
#include <vector>

#include "common/wide_string_win.h"
#include "ui/resources_win.h"

namespace pagelark {
namespace {

// Defined here: MinGW's uuid library does not carry the spell-checking identifiers.
constexpr CLSID kSpellCheckerFactory = {0x7AB36653, 0x1796, 0x484B, {0xBD, 0xFA, 0xE7, 0x4F, 0x1D, 0xB7, 0xC1, 0xDC}};
constexpr IID kISpellCheckerFactory = {0x8e018a9d, 0x2415, 0x4677, {0xbf, 0x08, 0x79, 0x4e, 0xa6, 0x1f, 0x94, 0xbb}};
constexpr IID kIUserDictionariesRegistrar = {0xaa176b85, 0x0e12, 0x4844, {0x8e, 0x1a, 0xee, 0xf1, 0xda, 0x77, 0xf5, 0x86}};

constexpr UINT kNoSuggestionsText = 17400;
constexpr UINT kIgnoreText = 17401;
constexpr UINT kIgnoreAllText = 17402;
constexpr UINT kAddText = 17403;
constexpr UINT kStopText = 17404;
constexpr UINT kCompleteText = 17405;

// A move-only owner of one COM interface pointer.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = other.p_;
            other.p_ = nullptr;
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** out() { Reset(); return &p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void Reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

// Frees a string the engine allocated with CoTaskMemAlloc.
struct TaskString {
    LPWSTR text = nullptr;
    ~TaskString() { CoTaskMemFree(text); }
};

// UTF-16 index -> UTF-8 offset and back, for texts of at most a few thousand characters.
std::size_t Utf8Offset(const std::wstring& text, std::size_t utf16Index) {
    return Narrow(std::wstring_view(text).substr(0, std::min(utf16Index, text.size()))).size();
}
std::size_t Utf16Index(const std::string& text, std::size_t utf8Offset) {
    return Widen(std::string_view(text).substr(0, std::min(utf8Offset, text.size()))).size();
}

class WindowsSpellEngine : public SpellEngine {
public:
    explicit WindowsSpellEngine(ComPtr<ISpellCheckerFactory> factory) : factory_(std::move(factory)) {}

    bool SetLanguage(const std::string& languageTag) override {
        language_ = Widen(languageTag);
        BOOL supported = FALSE;
        if (FAILED(factory_->IsSupported(language_.c_str(), &supported)) || !supported) return false;
        return SUCCEEDED(factory_->CreateSpellChecker(language_.c_str(), checker_.out())) && checker_;
    }

    bool RegisterUserDictionary(const std::string& path) override {
        ComPtr<IUserDictionariesRegistrar> registrar;
        if (FAILED(factory_->QueryInterface(kIUserDictionariesRegistrar, reinterpret_cast<void**>(registrar.out()))))
            return false;
        return SUCCEEDED(registrar->RegisterUserDictionary(Widen(path).c_str(), language_.c_str()));
    }

    std::vector<SpellError> Check(const std::string& text) override {
        std::vector<SpellError> errors;
        if (!checker_) return errors;
        const std::wstring wide = Widen(text);
        ComPtr<IEnumSpellingError> found;
        if (FAILED(checker_->Check(wide.c_str(), found.out())) || !found) return errors;
        for (;;) {
            ComPtr<ISpellingError> error;
            if (found->Next(error.out()) != S_OK || !error) break;
            ULONG start = 0, length = 0;
            if (FAILED(error->get_StartIndex(&start)) || FAILED(error->get_Length(&length))) continue;
            const std::size_t begin = Utf8Offset(wide, start);
            errors.push_back({begin, Utf8Offset(wide, static_cast<std::size_t>(start) + length) - begin});
        }
        return errors;
    }

    std::vector<std::string> Suggest(const std::string& word) override {
        std::vector<std::string> suggestions;
        ComPtr<IEnumString> list;
        if (!checker_ || FAILED(checker_->Suggest(Widen(word).c_str(), list.out())) || !list) return suggestions;
        for (;;) {
            TaskString suggestion;
            if (list->Next(1, &suggestion.text, nullptr) != S_OK || !suggestion.text) break;
            suggestions.push_back(Narrow(suggestion.text));
        }
        return suggestions;
    }

    void Add(const std::string& word) override {
        if (checker_) checker_->Add(Widen(word).c_str());
    }
    void Ignore(const std::string& word) override {
        if (checker_) checker_->Ignore(Widen(word).c_str());
    }

private:
    ComPtr<ISpellCheckerFactory> factory_;
    ComPtr<ISpellChecker> checker_;
    std::wstring language_;
};

std::wstring EditText(HWND edit) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

std::unique_ptr<SpellEngine> CreateWindowsSpellEngine() {
    ComPtr<ISpellCheckerFactory> factory;
    if (FAILED(CoCreateInstance(kSpellCheckerFactory, nullptr, CLSCTX_INPROC_SERVER, kISpellCheckerFactory,
                                reinterpret_cast<void**>(factory.out()))) ||
        !factory)
        return nullptr;
    return std::make_unique<WindowsSpellEngine>(std::move(factory));
}

std::string EditSpellTarget::Text() { return Narrow(EditText(edit_)); }

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

SpellDecision MenuSpellPrompt::Ask(const std::string&, const std::vector<std::string>& suggestions) {
    constexpr UINT kIgnore = 1000, kIgnoreAll = 1001, kAdd = 1002, kStop = 1003;
    constexpr std::size_t kMostSuggestions = 10;
    HMENU menu = CreatePopupMenu();
    if (!menu) return {SpellDecision::Kind::Stop, {}};
    const std::size_t shown = std::min(suggestions.size(), kMostSuggestions);
    for (std::size_t i = 0; i < shown; ++i)
        AppendMenuW(menu, MF_STRING, i + 1, Widen(suggestions[i]).c_str());
    if (shown == 0) AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, LoadText(kNoSuggestionsText).c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kIgnore, LoadText(kIgnoreText).c_str());
    AppendMenuW(menu, MF_STRING, kIgnoreAll, LoadText(kIgnoreAllText).c_str());
    AppendMenuW(menu, MF_STRING, kAdd, LoadText(kAddText).c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kStop, LoadText(kStopText).c_str());

    // Under the selected word.
    DWORD selectionStart = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), 0);
    const LRESULT position = SendMessageW(edit_, EM_POSFROMCHAR, selectionStart, 0);
    POINT at{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    TEXTMETRICW metrics{};
    if (HDC dc = GetDC(edit_)) {
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit_, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(edit_, dc);
    }
    at.y += metrics.tmHeight;
    ClientToScreen(edit_, &at);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, owner_, nullptr));
    DestroyMenu(menu);
    if (chosen >= 1 && chosen <= shown) return {SpellDecision::Kind::Change, suggestions[chosen - 1]};
    switch (chosen) {
    case kIgnore: return {SpellDecision::Kind::Ignore, {}};
    case kIgnoreAll: return {SpellDecision::Kind::IgnoreAll, {}};
    case kAdd: return {SpellDecision::Kind::Add, {}};
    default: return {SpellDecision::Kind::Stop, {}};
    }
}

void RunSpellCheck(CSpellChecker& checker, HWND owner, HWND editor) {
    if (!checker.IsAvailable() || !editor || (GetWindowLongPtrW(editor, GWL_STYLE) & ES_READONLY)) return;
    EditSpellTarget target(editor);
    MenuSpellPrompt prompt(owner, editor);
    checker.Check(target, prompt);
    if (checker.LastCheckFinished()) ShowTextMessage(owner, kCompleteText, MB_OK | MB_ICONINFORMATION);
}

}  // namespace pagelark
