#pragma once
// One connection to Outlook for one operation: "Outlook.Application" (started when it does not
// run), the namespace "MAPI", a logon with the current profile; logoff and release at the end.
#include "mailclients/automation_win.h"

namespace pagelark {

class OutlookSession {
public:
    // Throws AutomationFailure when Outlook cannot be reached. `logon` false: the namespace only.
    explicit OutlookSession(bool logon = true);
    ~OutlookSession();
    OutlookSession(const OutlookSession&) = delete;
    OutlookSession& operator=(const OutlookSession&) = delete;

    const Dispatch& application() const { return application_; }
    const Dispatch& mapi() const { return mapi_; }

    // GetDefaultFolder(number).
    Dispatch DefaultFolder(int number) const;
    // GetItemFromID / GetFolderFromID with the store left out.
    Dispatch ItemFromId(const std::string& entryId) const;
    Dispatch FolderFromId(const std::string& entryId) const;

private:
    // COM on this thread for the session, when the caller had not set it up.
    class ComScope {
    public:
        ComScope() : owned_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
        ~ComScope() { if (owned_) CoUninitialize(); }
        ComScope(const ComScope&) = delete;
        ComScope& operator=(const ComScope&) = delete;
    private:
        bool owned_;
    };

    ComScope com_;
    Dispatch application_;
    Dispatch mapi_;
    bool loggedOn_ = false;
};

}  // namespace pagelark
