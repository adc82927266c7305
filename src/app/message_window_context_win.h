#pragma once
// The application's side of every message window: what a CMainFrame may use of the program.
#include "window/message_window_context.h"

namespace pagelark {

class Application;

class ApplicationWindowContext final : public MessageWindowContext {
public:
    explicit ApplicationWindowContext(Application& app) : app_(app) {}

    Settings& settings() override;
    void SaveSettings(SettingsGroup group) override;
    ServiceClient& service() override;
    MailBridge& mailBridge() override;
    std::shared_ptr<const ContactList> Contacts(HostClient host) override;
    void ReplaceContacts(HostClient host, ContactList contacts) override;
    const LanguageInfo& language() const override;
    const CountryList& checkList() const override;
    const std::string& programDir() const override;
    bool exitingForUpdate() const override;
    void OpenOptions(HWND owner, const CreditsDisplayCalls& display) override;
    void RunApplicationCommand(int id, HWND owner) override;
    void OfferUpdate(HWND owner) override;

private:
    Application& app_;
};

}  // namespace pagelark
