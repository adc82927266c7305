#pragma once
// The message window's look for its host mail client, decided from what the registry says.
#include <string>
#include <string_view>

#include "model/contact.h"

namespace pagelark {

// What the message window takes from the window layer's look rules for its host.
struct HostLook {
    int classIcon = 0;                      // window class icon
    bool toolkitRecipientButtons = false;   // To:/CC: buttons with an icon
    int recipientButtonIcon = 0;
    bool toolkitPurchaseButton = false;     // Outlook Express only
    bool classicThemeControls = false;      // SetWindowTheme with no class list
    bool gradientDialogBar = false;         // the Office-2003 gradient behind the dialog bar
    bool flushEditor = false;               // editor from the left edge (Outlook Express, Word editor)
};

HostLook ComputeHostLook(HostClient host, int clientVersion, bool wordEditor);

// "To..." -> "To:": the recipient buttons' captions in the toolkit-button look.
std::string ColonCaption(std::string_view caption);

}  // namespace pagelark
