#pragma once
// The Outlook side of the mail-client bridge: items of the program's message class in Outlook's
// folders, the sent copy, the folder tree. Every operation connects, logs on, works and logs off
// again (OutlookSession). Create and the sent copy write their failures to Mapi.log and show
// nothing; the other operations tell the user in a message box. All run on the caller's thread.
#include <functional>
#include <string>
#include <vector>

#include "mailclients/mail_bridge.h"
#include "model/message_record.h"
#include "model/settings.h"

namespace pagelark {

class OutlookItems {
public:
    // Tells the user about a failure: the text's number and Outlook's or the system's words.
    using Reporter = std::function<void(unsigned textId, const std::string& detail)>;

    // `settings` lives as long as this object (the application's record). `log` writes one line to
    // Mapi.log and flushes it. Without a reporter, failures show an error box over the active window.
    OutlookItems(const Settings& settings, std::function<void(const std::string&)> log, Reporter report = nullptr);

    bool Create(const MessageRecord& record, FolderKind folder, std::string* newEntryId);
    bool Update(const MessageRecord& record);
    bool Read(const std::string& entryId, MessageRecord& item);
    bool Delete(const std::string& entryId);
    bool Move(const MessageRecord& record, const std::string& folderId);
    bool Copy(const MessageRecord& record, const std::string& folderId);
    bool FolderTree(std::vector<MailFolder>& folders);

    // Outlook's major version from its registration (0 when unknown).
    static int Version();
    // 1 when Outlook is the default mail client, 2 otherwise.
    static int IsDefaultClient();

private:
    bool CreateSentCopy(MessageRecord record, std::string* newEntryId);
    bool MoveOrCopy(const MessageRecord& record, const std::string& folderId, bool copy);
    const Settings& settings_;
    std::function<void(const std::string&)> log_;
    Reporter report_;
};

}  // namespace pagelark
