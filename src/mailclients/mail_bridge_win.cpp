#include "mailclients/mail_bridge_win.h"

#include "mailclients/host_registry_win.h"
#include "mailclients/outlook_items_win.h"

namespace pagelark {

namespace {

class OutlookMailBridge : public OfflineMailBridge {
public:
    OutlookMailBridge(const Settings& settings, std::function<void(const std::string&)> log)
        : OfflineMailBridge(ReadOutlookVersion()), outlook_(settings, std::move(log)) {}

    bool ReadItem(HostClient host, const std::string& entryId, MessageRecord& item) override {
        return host == HostClient::Outlook && outlook_.Read(entryId, item);
    }
    bool UpdateItem(HostClient host, const MessageRecord& record) override {
        return host == HostClient::Outlook && outlook_.Update(record);
    }
    bool CreateItem(HostClient host, const MessageRecord& record, FolderKind folder, std::string* newEntryId) override {
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
    OutlookItems outlook_;
};

}  // namespace

std::unique_ptr<OfflineMailBridge> CreateMailBridge(const Settings& settings, std::function<void(const std::string&)> log) {
    auto bridge = std::make_unique<OutlookMailBridge>(settings, std::move(log));
    return bridge;
}

}  // namespace pagelark
