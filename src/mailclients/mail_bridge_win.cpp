#include "mailclients/mail_bridge_win.h"

#include "mailclients/host_registry_win.h"
#include "mailclients/outlook_items_win.h"
#include "mailclients/outlook_rules.h"

namespace pagelark {

namespace {

class OutlookMailBridge : public OfflineMailBridge {
public:
    OutlookMailBridge(const Settings& settings, std::function<void(const std::string&)> log,
                      OutlookExpressFiler fileOutlookExpress)
        : OfflineMailBridge(ReadOutlookVersion()), settings_(settings), outlook_(settings, std::move(log)),
          fileOutlookExpress_(std::move(fileOutlookExpress)) {}

    bool ReadItem(HostClient host, const std::string& entryId, MessageRecord& item) override {
        return host == HostClient::Outlook && outlook_.Read(entryId, item);
    }
    bool UpdateItem(HostClient host, const MessageRecord& record) override {
        return host == HostClient::Outlook && outlook_.Update(record);
    }
    bool CreateItem(HostClient host, const MessageRecord& record, FolderKind folder, std::string* newEntryId) override {
        if (host == HostClient::OutlookExpress) {
            // Outlook Express items have no id the program could open again.
            if (newEntryId) newEntryId->clear();
            if (settings_.IntegrateOE == 0 || !fileOutlookExpress_) return false;
            return fileOutlookExpress_(record, folder,
                                       SenderDisplayText(settings_.UserName, settings_.UserLandCode, settings_.UserMobile));
        }
        return host == HostClient::Outlook && outlook_.Create(record, folder, newEntryId);
    }
    bool DeleteItem(HostClient host, const std::string& entryId) override {
        return host == HostClient::Outlook && outlook_.Delete(entryId);
    }
    bool MoveItem(HostClient host, const MessageRecord& record, const std::string& folderId) override {
        return host == HostClient::Outlook && outlook_.Move(record, folderId);
    }
    bool CopyItem(HostClient host, const MessageRecord& record, const std::string& folderId) override {
        return host == HostClient::Outlook && outlook_.Copy(record, folderId);
    }
    bool GetFolderTree(HostClient host, std::vector<MailFolder>& folders) override {
        return host == HostClient::Outlook && outlook_.FolderTree(folders);
    }

private:
    const Settings& settings_;
    OutlookItems outlook_;
    OutlookExpressFiler fileOutlookExpress_;
};

}  // namespace

std::unique_ptr<OfflineMailBridge> CreateMailBridge(const Settings& settings, std::function<void(const std::string&)> log,
                                                    OutlookExpressFiler fileOutlookExpress) {
    auto bridge = std::make_unique<OutlookMailBridge>(settings, std::move(log), std::move(fileOutlookExpress));
    return bridge;
}

}  // namespace pagelark
