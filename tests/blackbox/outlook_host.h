#pragma once
// The Outlook double as an add-in host for black-box tests: Quillbridge.dll registered from the
// program folder, Outlook's add-in key, the double registered as "Outlook.Application" with a
// fresh store, and the host started and driven through its control window.
//
//   OutlookHost::PrepareAddin();              // regsvr32 + Addins\PagelarkAddin.Addin LoadBehavior 3
//   OutlookHost host;
//   ASSERT_TRUE(host.Start());                // or host.Start(L"de_DE.UTF-8"): the user's language
//   auto button = host.Command("button");     // caption, tool tip, tag, ... tab-separated
//   host.Command("click");
//   host.Quit();                              // the add-in disconnects, the double ends
//   OutlookHost::RemoveAddin();
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace pagelark::blackbox {

class OutlookHost {
public:
    OutlookHost() = default;
    OutlookHost(const OutlookHost&) = delete;
    OutlookHost& operator=(const OutlookHost&) = delete;
    ~OutlookHost() { Quit(); }

    // Registers the staged add-in (regsvr32), writes Outlook's add-in key under the current user
    // with this LoadBehavior, and prepares the double with a fresh store.
    static bool PrepareAddin(DWORD loadBehavior = 3);
    static void RemoveAddin();
    static std::wstring AddinPath();   // Quillbridge.dll in PAGELARK_DIR

    // Starts "outlook_double host"; `userLocale` (e.g. "de_DE.UTF-8") becomes its user default
    // language, `bars` its command bars ("Menu Bar,Standard,Advanced" when empty).
    bool Start(const std::string& userLocale = {}, const std::string& bars = {});
    // Sends one command (fields separated by tabs); the host's answer, or nothing when it failed.
    std::optional<std::string> Command(const std::string& command);
    // Ends the host (its add-ins disconnect first); true when it ended in time.
    bool Quit();
    bool Running() const;
    DWORD Pid() const { return pid_; }

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    HWND window_ = nullptr;
};

std::vector<std::string> SplitTabs(const std::string& text);

}  // namespace pagelark::blackbox
