#include "window/host_look.h"

#include <charconv>

#include "ui/looks.h"

namespace pagelark {

int ClientVersionFromCurVer(std::string_view curVer) {
    const size_t dot = curVer.rfind('.');
    if (dot == std::string_view::npos) return 0;
    const std::string_view digits = curVer.substr(dot + 1);
    int version = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), version);
    if (error != std::errc() || version < 0) return 0;
    (void)end;
    return version;
}

bool WordEditorFromPreference(std::optional<std::uint32_t> editorPreference) {
    return editorPreference && (*editorPreference & 1u);
}

HostLook ComputeHostLook(HostClient host, int clientVersion, bool wordEditor) {
    const bool express = host == HostClient::OutlookExpress;
    HostLook look;
    look.classIcon = ChooseWindowIcon(host, clientVersion);
    look.menu = ChooseMenu(host);
    look.toolkitRecipientButtons = UsesToolkitButtons(host, wordEditor);
    look.recipientButtonIcon = ChooseRecipientButtonIcon(clientVersion);
    look.toolkitPurchaseButton = express;
    look.classicThemeControls = UsesClassicControlTheme(host, clientVersion);
    look.gradientDialogBar = UsesGradientDialogBar(host, clientVersion, wordEditor);
    look.flushEditor = express || (host == HostClient::Outlook && wordEditor);
    return look;
}

std::string ColonCaption(std::string_view caption) {
    std::string text(caption);
    const size_t dots = text.find("...");
    if (dots != std::string::npos) text.replace(dots, 3, ":");
    return text;
}

}  // namespace pagelark
