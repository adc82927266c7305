#include "app/message_window_context_win.h"

#include "app/application_win.h"
#include "mailclients/address_books_win.h"
#include "mailclients/offline_mail_bridge.h"
#include "ui/command_ids.h"
#include "app/update_offer_win.h"

namespace pagelark {

Settings& ApplicationWindowContext::settings() { return app_.settings(); }

void ApplicationWindowContext::SaveSettings(SettingsGroup group) { app_.SaveSettings(group); }

ServiceClient& ApplicationWindowContext::service() { return app_.service(); }

MailBridge& ApplicationWindowContext::mailBridge() { return app_.mailBridge(); }

std::shared_ptr<const ContactList> ApplicationWindowContext::Contacts(HostClient host) {
    // Outlook windows use source 1, Outlook Express windows source 2; an empty list until read.
    if (auto list = app_.addressBooks().List(SourceOf(host))) return list;
    static const auto kNone = std::make_shared<const ContactList>();
    return kNone;
}

void ApplicationWindowContext::ReplaceContacts(HostClient host, ContactList contacts) {
    // Numbers rewritten by number checking: written back when SaveChangedNumbers is on.
    app_.addressBooks().SaveChanged(SourceOf(host), std::move(contacts));
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
