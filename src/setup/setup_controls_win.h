#pragma once
// Small helpers the setup pages share: UTF-8 control texts, check boxes, a bold variant of the
// dialog font, section captions and link-like static texts.
#include <windows.h>

#include <string>
#include <string_view>

#include "common/handle_win.h"

namespace pagelark {

std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, std::string_view utf8);
bool IsChecked(HWND dialog, int id);
void SetChecked(HWND dialog, int id, bool checked);
void EnableControl(HWND dialog, int id, bool enabled);

// Message boxes with the program's title; the text is UTF-8.
int ShowSetupMessage(HWND owner, std::string_view text, UINT type);
int ShowSetupMessage(HWND owner, UINT textId, UINT type);

// "%s" in a string-table text replaced by `value`.
std::string FormatText(UINT textId, std::string_view value);

// A font derived from a window's font; owns the GDI object.
class DerivedFont {
public:
    // The font of `window` with the given weight and underline; keeps the old one on failure.
    void CreateFrom(HWND window, LONG weight, bool underline = false);
    HFONT get() const { return font_.get(); }
    // Sets this font on every child of `dialog` whose id is `id`.
    void ApplyTo(HWND dialog, int id) const;

private:
    FontHandle font_;
};

// Makes the main window topmost or puts it back, without moving, sizing or activating it.
void SetTopmost(HWND window, bool topmost);

// Opens an address in the user's web browser.
void OpenInBrowser(HWND owner, const std::string& address);

}  // namespace pagelark
