#include "service/service_ui_win.h"

#include <shellapi.h>

#include "common/wide_string_win.h"

namespace pagelark {

std::string ResourceTexts::Text(std::uint16_t languageId, int id) const {
    return loader_ ? Narrow(loader_(static_cast<UINT>(id), languageId)) : std::string();
}

WindowsServiceUi::WindowsServiceUi(std::function<std::wstring()> caption, std::function<HWND()> owner)
    : caption_(std::move(caption)), owner_(std::move(owner)) {}

void WindowsServiceUi::Show(const std::string& text, UINT icon) {
    const std::wstring caption = caption_ ? caption_() : L"Pagelark";
    const HWND owner = owner_ ? owner_() : GetActiveWindow();
    MessageBoxW(owner, Widen(text).c_str(), caption.c_str(), MB_OK | icon);
}

void WindowsServiceUi::ShowError(const std::string& text) { Show(text, MB_ICONERROR); }

void WindowsServiceUi::ShowWarning(const std::string& text) { Show(text, MB_ICONWARNING); }

bool WindowsServiceUi::StartConnectionWizard() {
    const auto started = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", L"inetwiz", nullptr, nullptr, SW_SHOWNORMAL));
    return started > 32;
}

void WindowsServiceUi::BeginWait() {
    if (waitDepth_++ == 0) waitCursor_.emplace();
}

void WindowsServiceUi::EndWait() {
    if (waitDepth_ > 0 && --waitDepth_ == 0) waitCursor_.reset();
}

}  // namespace pagelark
