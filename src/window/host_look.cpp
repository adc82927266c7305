#include "window/host_look.h"

#include <charconv>

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

HostClient HostFromDefaultMailClient(const std::optional<std::string>& defaultClient) {
    if (defaultClient && defaultClient->find("Microsoft Outlook") != std::string::npos) return HostClient::Outlook;
    return HostClient::OutlookExpress;
}

HostLook ComputeHostLook(HostClient host, int clientVersion, bool wordEditor) {
    const bool outlook = host == HostClient::Outlook;
    const bool word = outlook && wordEditor;
    HostLook look;
    look.classIcon = !outlook ? 166 : (clientVersion >= 11 ? 174 : 165);
    look.toolkitRecipientButtons = !outlook || word;
    look.recipientButtonIcon = clientVersion > 10 ? 178 : 170;
    look.toolkitPurchaseButton = !outlook;
    if (!outlook) {
        look.buttonLook = 0;
        look.commandBarLook = 3;
        look.menu = 129;
        look.toolbar = 129;
    } else {
        look.buttonLook = clientVersion > 10 ? 2 : (clientVersion == 10 ? 1 : 0);
        look.commandBarLook = clientVersion > 10 ? 2 : (clientVersion == 10 ? 1 : 0);
    }
    look.classicThemeControls = !outlook || clientVersion < 11;
    look.gradientDialogBar = word && clientVersion > 10;
    look.flushEditor = !outlook || word;
    return look;
}

std::string ColonCaption(std::string_view caption) {
    std::string text(caption);
    const size_t dots = text.find("...");
    if (dots != std::string::npos) text.replace(dots, 3, ":");
    return text;
}

}  // namespace pagelark
