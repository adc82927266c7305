#pragma once
// The Windows side of what the requests need from the user: texts from the resources in a
// given language, message boxes, the wait cursor and the Internet Connection Wizard.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "service/service_ports.h"
#include "ui/wait_cursor_win.h"

namespace pagelark {

// Loads a string-table text in a language (the application passes its resource loader).
using TextLoader = std::function<std::wstring(UINT id, LANGID language)>;

class ResourceTexts : public TextSource {
public:
    explicit ResourceTexts(TextLoader loader) : loader_(std::move(loader)) {}
    std::string Text(std::uint16_t languageId, int id) const override;

private:
    TextLoader loader_;
};

class WindowsServiceUi : public ServiceUserInterface {
public:
    // `caption` titles the boxes; `owner` gives their owner window at the moment they show.
    WindowsServiceUi(std::function<std::wstring()> caption, std::function<HWND()> owner);

    void ShowError(const std::string& text) override;
    void ShowWarning(const std::string& text) override;
    bool StartConnectionWizard() override;
    void BeginWait() override;
    void EndWait() override;

private:
    void Show(const std::string& text, UINT icon);

    std::function<std::wstring()> caption_;
    std::function<HWND()> owner_;
    int waitDepth_ = 0;
    std::optional<WaitCursor> waitCursor_;   // while waitDepth_ > 0
};

}  // namespace pagelark
