#include "ui/menu_bar_win.h"

#include <vector>

#include "ui/language_resource_win.h"

namespace pagelark {

bool CMenuBar::Load(HINSTANCE module, int id, LANGID language) {
    const void* data = FindLanguageResource(module, RT_MENU, id, language);
    HMENU menu = data ? LoadMenuIndirectW(static_cast<const MENUTEMPLATEW*>(data)) : nullptr;
    if (!menu) return false;
    owned_.reset(menu);
    menu_ = menu;
    return true;
}

void CMenuBar::AttachTo(HWND window) {
    if (!menu_ || !SetMenu(window, menu_)) return;
    (void)owned_.release();
    DrawMenuBar(window);
}

void UpdateMenuEnabling(HMENU menu, const CommandState& state) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.hSubMenu) {
            UpdateMenuEnabling(info.hSubMenu, state);
        } else if (!(info.fType & MFT_SEPARATOR)) {
            const bool enabled = IsCommandEnabled(static_cast<int>(info.wID), state);
            EnableMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
        }
    }
}

bool CAccelerators::Load(HINSTANCE module, int id, LANGID language) {
    // The resource holds 8-byte entries (flags, key, command, padding); the last has bit 0x80 set.
    DWORD size = 0;
    const auto* data = static_cast<const BYTE*>(FindLanguageResource(module, RT_ACCELERATOR, id, language, &size));
    if (!data) return false;
    std::vector<ACCEL> entries;
    for (DWORD offset = 0; offset + 8 <= size; offset += 8) {
        WORD flags, key, command;
        memcpy(&flags, data + offset, 2);
        memcpy(&key, data + offset + 2, 2);
        memcpy(&command, data + offset + 4, 2);
        entries.push_back(ACCEL{static_cast<BYTE>(flags & 0x7F), key, command});
        if (flags & 0x80) break;
    }
    if (entries.empty()) return false;
    HACCEL table = CreateAcceleratorTableW(entries.data(), static_cast<int>(entries.size()));
    if (!table) return false;
    table_.reset(table);
    return true;
}

}  // namespace pagelark
