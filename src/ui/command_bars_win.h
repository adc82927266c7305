#pragma once
// A message window's command bars in one object: the menu bar "Menu Bar" (menu IDR_MAINFRAME, or
// IDR_EXPRESS for Outlook Express), the toolbar "Standard" in the host's look, and the accelerator
// table IDR_MAINFRAME.
//
//   CCommandBars bars;
//   bars.Create(frame, module, ResourceLanguage(), host, clientVersion,
//               host == HostClient::OutlookExpress ? ReadExpressToolbarIconSize(WindowsMajorVersion()) : 1);
//   WM_SIZE:           int top = bars.Resize();            // the toolbar's height
//   WM_INITMENUPOPUP:  bars.UpdateMenu(popup, Snapshot());
//   at idle:           bars.Update(Snapshot());
//   message loop:      if (bars.TranslateAccelerator(frame, msg)) continue;
#include <windows.h>

#include "ui/commands.h"
#include "ui/looks.h"
#include "ui/menu_bar_win.h"
#include "ui/toolbar_win.h"

namespace pagelark {

class CCommandBars {
public:
    // False when a resource is missing; whatever could be created stays usable.
    bool Create(HWND frame, HINSTANCE module, LANGID language, HostClient host, int clientVersion,
                int expressIconSize);

    int Resize() { return toolbar_.Resize(); }
    int ToolbarHeight() const { return toolbar_.Height(); }

    // The whole menu bar and the toolbar.
    void Update(const CommandState& state);
    // One popup that is about to open.
    void UpdateMenu(HMENU popup, const CommandState& state) { UpdateMenuEnabling(popup, state); }
    bool TranslateAccelerator(HWND frame, MSG& message) const { return accelerators_.Translate(frame, message); }

    HMENU menu() const { return menu_.handle(); }
    CToolBar& toolbar() { return toolbar_; }
    const ToolbarChoice& choice() const { return choice_; }

private:
    CMenuBar menu_;
    CToolBar toolbar_;
    CAccelerators accelerators_;
    ToolbarChoice choice_{};
};

}  // namespace pagelark
