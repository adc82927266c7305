#pragma once
// The toolbar "Standard": buttons from a TOOLBAR resource, pictures from a bitmap strip in the
// order of the command table, captions and tool tips from the commands' strings, in one of the
// looks of ui/looks.h. The Send button shows its picture and its caption.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resource_ids.h"
#include "ui/commands.h"
#include "ui/image_list_win.h"
#include "ui/looks.h"

namespace pagelark {

class CToolBar {
public:
    CToolBar() = default;
    ~CToolBar();
    CToolBar(const CToolBar&) = delete;
    CToolBar& operator=(const CToolBar&) = delete;

    // Creates the toolbar at the top of `parent`. False when a resource is missing.
    bool Create(HWND parent, HINSTANCE module, LANGID language, const ToolbarChoice& choice,
                int controlId = ID_TOOLBAR);
    HWND hwnd() const { return hwnd_; }
    Look look() const { return look_; }

    // Call when the parent is resized; returns the toolbar's height.
    int Resize();
    int Height() const;

    // Applies the enabling rules to every button.
    void UpdateEnabling(const CommandState& state);
    bool HasButton(int commandId) const;
    bool IsButtonEnabled(int commandId) const;
    std::vector<int> ButtonIds() const;   // in order, separators left out

private:
    static LRESULT CALLBACK PaintProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    HWND hwnd_ = nullptr;
    ImageListHandle images_;
    Look look_ = Look::Classic;
    std::vector<std::wstring> captions_;
};

}  // namespace pagelark
