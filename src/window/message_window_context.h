#pragma once
// What a message window uses of the program around it: the settings, the service client, the
// mail-client bridge with the hosts' contact lists, the language, and the few application
// commands a message window's menu reaches. The application serves it; a test program can build
// a message window against a fake.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "mailclients/mail_bridge.h"
#include "model/contact.h"
#include "model/language.h"
#include "model/settings.h"
#include "numbers/dialling_codes.h"
#include "service/service_client.h"

namespace pagelark {

// The credit display of the window that opened the options sheet: "Update credits..." while the
// sheet fetches the credits, and a refresh of the account display after.
struct CreditsDisplayCalls {
    std::function<void()> showUpdating;
    std::function<void()> refresh;
};

class MessageWindowContext {
public:
    virtual ~MessageWindowContext() = default;

    // The settings the program runs with; a window changes them in place and saves the group.
    virtual Settings& settings() = 0;
    virtual void SaveSettings(SettingsGroup group) = 0;
    virtual ServiceClient& service() = 0;
    virtual MailBridge& mailBridge() = 0;
    // The host's current contact list (never null), and its replacement: numbers rewritten by
    // Check Names live there until the address books are written.
    virtual std::shared_ptr<const ContactList> Contacts(HostClient host) = 0;
    virtual void ReplaceContacts(HostClient host, ContactList contacts) = 0;
    virtual const LanguageInfo& language() const = 0;
    virtual const CountryList& checkList() const = 0;
    virtual const std::string& programDir() const = 0;
    // The program ends to install an update: closing saves without asking.
    virtual bool exitingForUpdate() const = 0;

    // The options sheet over `owner`, which shows the credit update the sheet may make.
    virtual void OpenOptions(HWND owner, const CreditsDisplayCalls& display) = 0;
    // The application's commands on a message window's menu: New, About, Help, Hide Icon, Exit.
    virtual void RunApplicationCommand(int id, HWND owner) = 0;
    // After a successful status request: the automatic update offer.
    virtual void OfferUpdate(HWND owner) = 0;
};

}  // namespace pagelark
