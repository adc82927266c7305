#include "window/host_look.h"

#include "ui/looks.h"

namespace pagelark {

HostLook ComputeHostLook(HostClient host, int clientVersion, bool wordEditor) {
    const bool express = host == HostClient::OutlookExpress;
    HostLook look;
    look.classIcon = ChooseWindowIcon(host, clientVersion);
    look.toolkitRecipientButtons = UsesToolkitButtons(host, wordEditor);
    look.recipientButtonIcon = ChooseRecipientButtonIcon(clientVersion);
    look.toolkitPurchaseButton = express;
    look.classicThemeControls = UsesClassicControlTheme(host, clientVersion);
    look.gradientDialogBar = UsesGradientDialogBar(host, clientVersion, wordEditor);
    look.flushEditor = express || (host == HostClient::Outlook && wordEditor);
    return look;
}

std::string ColonCaption(std::string_view caption) {
    const size_t dots = caption.find("...");
    if (dots == std::string_view::npos) return std::string(caption);
    std::string text(caption.substr(0, dots));
    text += ':';
    text += caption.substr(dots + 3);
    return text;
}

}  // namespace pagelark
