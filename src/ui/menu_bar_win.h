#pragma once
// The menu bar "Menu Bar" and accelerator table of a message window, loaded in one language,
// and the idle-time update of their enabled state from the command rules (ui/commands.h).
#include <windows.h>

#include <utility>

#include "common/handle_win.h"
#include "ui/commands.h"

namespace pagelark {

// Owns a menu handle; destroys it unless it was handed to a window with AttachTo.
class CMenuBar {
public:
    CMenuBar() = default;
    CMenuBar(CMenuBar&& other) noexcept : owned_(std::move(other.owned_)), menu_(std::exchange(other.menu_, nullptr)) {}
    CMenuBar& operator=(CMenuBar&& other) noexcept {
        owned_ = std::move(other.owned_);
        menu_ = std::exchange(other.menu_, nullptr);
        return *this;
    }
    CMenuBar(const CMenuBar&) = delete;
    CMenuBar& operator=(const CMenuBar&) = delete;

    // Menu `id` (IDR_MAINFRAME or IDR_EXPRESS) in `language`; false when the resource is missing.
    bool Load(HINSTANCE module, int id, LANGID language);
    // Makes it the window's menu bar; the window destroys it with itself from then on.
    void AttachTo(HWND window);
    HMENU handle() const { return menu_; }

private:
    MenuHandle owned_;   // until AttachTo hands it to the window
    HMENU menu_ = nullptr;
};

// Enables and greys every command item of `menu` and its submenus by IsCommandEnabled. Call it
// on WM_INITMENUPOPUP with the popup, or at idle with the whole bar.
void UpdateMenuEnabling(HMENU menu, const CommandState& state);

// Accelerator table IDR_MAINFRAME (or another) built from the resource of `language`.
class CAccelerators {
public:

    bool Load(HINSTANCE module, int id, LANGID language);
    HACCEL handle() const { return table_.get(); }
    // True when `message` was an accelerator for `window` (and was dispatched as WM_COMMAND).
    bool Translate(HWND window, MSG& message) const {
        return table_ && TranslateAcceleratorW(window, table_.get(), &message) != 0;
    }

private:
    static bool Destroy(HACCEL table) { return DestroyAcceleratorTable(table) != FALSE; }
    UniqueHandle<HACCEL, Destroy> table_;
};

}  // namespace pagelark
