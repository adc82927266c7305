#pragma once
// A confirmation box with "Don't show this message again" (IDD_MESSAGE_BOX_ASK): the send flow's
// question and its result.
#include <windows.h>

#include <string>

#include "ui/dialog_win.h"

namespace pagelark {

class CMessageBoxAsk : public Dialog {
public:
    // `iconId` is a system icon (IDI_QUESTION, IDI_ERROR, ...). Without Cancel the Cancel button
    // is hidden and OK moves 40 pixels to the right.
    CMessageBoxAsk(std::string text, int iconId, int withCancel);

    // IDOK or IDCANCEL (closing the box counts as Cancel); -1 when the box cannot be shown.
    INT_PTR DoModal(HWND parent) { return ShowModal(parent); }

    std::string message;     // UTF-8
    int iconId;
    int withCancel;
    int dontShowAgain = 0;   // exchanged with check box IDC_ASK_DONT_SHOW on OK

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notification, HWND control) override;
};

}  // namespace pagelark
