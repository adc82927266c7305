#pragma once
// The message window's look for its host mail client, decided from what the registry says.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/contact.h"

namespace pagelark {

// "Outlook.Application.11" -> 11: the number after the last point; 0 when there is none.
int ClientVersionFromCurVer(std::string_view curVer);

// Outlook's "EditorPreference": Word is the e-mail editor when the value exists as a DWORD and
// its lowest bit is set.
bool WordEditorFromPreference(std::optional<std::uint32_t> editorPreference);

// What the message window takes from the window layer's look rules for its host.
struct HostLook {
    int classIcon = 0;                      // window class icon
    int menu = 128;
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
