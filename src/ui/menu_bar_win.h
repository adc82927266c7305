#pragma once
// The menu bar "Menu Bar" and accelerator table of a message window, loaded in one language,
// and the idle-time update of their enabled state from the command rules (ui/commands.h).
#include <windows.h>

#include "ui/commands.h"

namespace pagelark {

// Owns a menu handle; destroys it unless it was handed to a window with AttachTo.
class CMenuBar {
public:
    CMenuBar() = default;
    ~CMenuBar();
    CMenuBar(CMenuBar&& other) noexcept : menu_(other.menu_), attached_(other.attached_) { other.menu_ = nullptr; }
    CMenuBar& operator=(CMenuBar&& other) noexcept;
    CMenuBar(const CMenuBar&) = delete;
    CMenuBar& operator=(const CMenuBar&) = delete;

    // Menu `id` (128 or 129) in `language`; false when the resource is missing.
    bool Load(HINSTANCE module, int id, LANGID language);
    // Makes it the window's menu bar; the window destroys it with itself from then on.
    void AttachTo(HWND window);
    HMENU handle() const { return menu_; }

private:
    HMENU menu_ = nullptr;
    bool attached_ = false;
};

// Enables and greys every command item of `menu` and its submenus by IsCommandEnabled. Call it
// on WM_INITMENUPOPUP with the popup, or at idle with the whole bar.
void UpdateMenuEnabling(HMENU menu, const CommandState& state);

// Accelerator table 128 (or another) built from the resource of `language`.
class CAccelerators {
public:
    CAccelerators() = default;
    ~CAccelerators() { if (table_) DestroyAcceleratorTable(table_); }
    CAccelerators(CAccelerators&& other) noexcept : table_(other.table_) { other.table_ = nullptr; }
    CAccelerators& operator=(CAccelerators&& other) noexcept;
    CAccelerators(const CAccelerators&) = delete;
    CAccelerators& operator=(const CAccelerators&) = delete;

    bool Load(HINSTANCE module, int id, LANGID language);
    HACCEL handle() const { return table_; }
    // True when `message` was an accelerator for `window` (and was dispatched as WM_COMMAND).
    bool Translate(HWND window, MSG& message) const {
        return table_ && TranslateAcceleratorW(window, table_, &message) != 0;
    }

private:
    HACCEL table_ = nullptr;
};

}  // namespace pagelark
