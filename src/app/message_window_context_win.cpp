#include "app/message_window_context_win.h"

#include "app/application_win.h"
#include "mailclients/offline_mail_bridge.h"
#include "ui/command_ids.h"
#include "window/update_offer_win.h"

namespace pagelark {

Settings& ApplicationWindowContext::settings() { return app_.settings(); }

void ApplicationWindowContext::SaveSettings(SettingsGroup group) { app_.SaveSettings(group); }

ServiceClient& ApplicationWindowContext::service() { return app_.service(); }

MailBridge& ApplicationWindowContext::mailBridge() { return app_.mailBridge(); }

std::shared_ptr<const ContactList> ApplicationWindowContext::Contacts(HostClient host) {
    return app_.mailBridge().Contacts(host);
}

void ApplicationWindowContext::ReplaceContacts(HostClient host, ContactList contacts) {
    // Until the address books are written, the rewritten numbers live in the bridge's list.
    app_.mailBridge().SetContacts(host, std::move(contacts));
}

const LanguageInfo& ApplicationWindowContext::language() const { return app_.language(); }

const CountryList& ApplicationWindowContext::checkList() const { return app_.checkList(); }

const std::string& ApplicationWindowContext::programDir() const { return app_.programDir(); }

bool ApplicationWindowContext::exitingForUpdate() const { return app_.exitingForUpdate(); }

void ApplicationWindowContext::OpenOptions(HWND owner, const CreditsDisplayCalls& display) {
    app_.OnOptions(owner, CreditsDisplay{display.showUpdating, display.refresh});
}

void ApplicationWindowContext::RunApplicationCommand(int id, HWND owner) {
    switch (id) {
    case command::kNew: app_.OnNewMessage(); break;
    case command::kAbout: app_.ShowAbout(owner); break;
    case command::kHelp: app_.ShowHelp(); break;
    case command::kHideIcon: app_.HideIcon(); break;
    case command::kExit:
        if (HWND main = app_.mainWindow()) PostMessageW(main, WM_CLOSE, 0, 0);
        break;
    default: break;
    }
}

void ApplicationWindowContext::OfferUpdate(HWND owner) { OfferUpdateAfterStatus(app_, owner); }

}  // namespace pagelark
