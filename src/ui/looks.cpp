#include "ui/looks.h"

#include <algorithm>

#include "resource_ids.h"

namespace pagelark {

Rgb GradientAt(Rgb from, Rgb to, int x, int width) {
    if (width <= 1) return from;
    x = std::clamp(x, 0, width - 1);
    auto mix = [&](unsigned char a, unsigned char b) {
        return static_cast<unsigned char>(a + (static_cast<int>(b) - a) * x / (width - 1));
    };
    return {mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b)};
}

int GradientSpan(int barWidth, int screenWidth) { return std::max(barWidth, screenWidth / 2); }

ToolbarChoice ChooseToolbar(HostClient host, int clientVersion, int expressIconSize) {
    if (host == HostClient::OutlookExpress) {
        if (expressIconSize == 1) return {Look::Express, IDR_TOOLBAR_EXPRESS_LARGE, IDB_EXPRESS_24, 24, 30};
        return {Look::Express, IDR_EXPRESS, IDB_EXPRESS_16, 16, 0};
    }
    if (clientVersion > 10) return {Look::Office2003, IDR_TOOLBAR_OFFICE2003, IDB_TOOLBAR_16, 16, 0};
    if (clientVersion == 10) return {Look::Flat, IDR_MAINFRAME, IDB_TOOLBAR_16, 16, 0};
    return {Look::Classic, IDR_MAINFRAME, IDB_TOOLBAR_16, 16, 0};
}

int ChooseMenu(HostClient host) { return host == HostClient::OutlookExpress ? IDR_EXPRESS : IDR_MAINFRAME; }

int ChooseWindowIcon(HostClient host, int clientVersion) {
    if (host == HostClient::OutlookExpress) return IDI_WINDOW_EXPRESS;
    return clientVersion >= 11 ? IDI_WINDOW_OUTLOOK11 : IDI_WINDOW_OUTLOOK;
}

bool UsesToolkitButtons(HostClient host, bool wordEditor) {
    return host == HostClient::OutlookExpress || wordEditor;
}

int ChooseRecipientButtonIcon(int clientVersion) { return clientVersion > 10 ? IDI_RECIPIENTS11 : IDI_RECIPIENTS; }

Look ChooseButtonLook(HostClient host, int clientVersion) {
    if (host == HostClient::OutlookExpress) return Look::Classic;
    if (clientVersion > 10) return Look::Office2003;
    if (clientVersion == 10) return Look::Flat;
    return Look::Classic;
}

bool UsesGradientDialogBar(HostClient host, int clientVersion, bool wordEditor) {
    return host == HostClient::Outlook && clientVersion > 10 && wordEditor;
}

bool UsesClassicControlTheme(HostClient host, int clientVersion) {
    return host == HostClient::OutlookExpress || clientVersion < 11;
}

ExpressSettingsPlace ExpressToolbarSizePlace(int windowsMajorVersion) {
    return windowsMajorVersion < 6 ? ExpressSettingsPlace::Identity : ExpressSettingsPlace::WindowsMail;
}

}  // namespace pagelark
