#include "ui/command_bars_win.h"

#include "resource_ids.h"

namespace pagelark {

bool CCommandBars::Create(HWND frame, HINSTANCE module, LANGID language, HostClient host, int clientVersion,
                          int expressIconSize) {
    bool complete = true;
    if (menu_.Load(module, ChooseMenu(host), language)) menu_.AttachTo(frame);
    else complete = false;
    choice_ = ChooseToolbar(host, clientVersion, expressIconSize);
    if (!toolbar_.Create(frame, module, language, choice_)) complete = false;
    if (!accelerators_.Load(module, IDR_MAINFRAME, language)) complete = false;
    return complete;
}

void CCommandBars::Update(const CommandState& state) {
    if (menu_.handle()) UpdateMenuEnabling(menu_.handle(), state);
    toolbar_.UpdateEnabling(state);
}

}  // namespace pagelark
