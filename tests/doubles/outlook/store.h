#pragma once
// The Outlook double's data: message stores with folders and items, the switched-on faults, kept
// in one JSON file that tests seed and read back. Portable: no Windows types.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace outlook_double {

struct ItemData {
    std::string entryId;
    std::string messageClass = "IPM.Note";
    std::string to;
    std::string cc;
    std::string subject;
    std::string body;
    std::string senderName;   // PR_SENT_REPRESENTING_NAME
    int iconIndex = -1;       // PR_ICON_INDEX; -1: not set
    bool unread = true;
    bool sent = false;
};

struct FolderData {
    std::string entryId;
    std::string name;
    int defaultItemType = 0;   // OlItemType of the folder's items
    int defaultFolder = 0;     // OlDefaultFolders number when this is a default folder, else 0
    std::vector<ItemData> items;
    std::vector<FolderData> folders;
};

struct StoreData {
    FolderData root;   // the store's top-level folder; its name is the store's display name
};

class Store {
public:
    // Two stores: "Personal Folders" with every default folder and nested user folders, and
    // "Archive" with a small tree of its own.
    static Store Default();

    static std::optional<Store> FromJson(const std::string& text);
    std::string ToJson() const;

    std::vector<StoreData>& stores() { return stores_; }
    const std::vector<StoreData>& stores() const { return stores_; }

    FolderData* FindFolder(const std::string& entryId);
    // The default folder of the default (first) store.
    FolderData* DefaultFolder(int number);
    // Folder by a path of names separated by '/', starting with the store's name.
    FolderData* FolderByPath(const std::string& path);
    ItemData* FindItem(const std::string& entryId, FolderData** folder = nullptr);
    std::string NewEntryId(bool folder);

    // Fault switch: "Class.Member" → HRESULT the call fails with.
    std::optional<long> Fault(const std::string& member) const;
    void SetFault(const std::string& member, long hresult) { faults_[member] = hresult; }
    void ClearFaults() { faults_.clear(); }

    // Forms published to the personal library: form name → message class.
    std::map<std::string, std::string>& forms() { return forms_; }

    // Adds `count` user folders under `parent`, nested `depth` deep round-robin (for figures).
    void AddUserFolders(FolderData& parent, int count, int breadth);

private:
    std::vector<StoreData> stores_;
    std::map<std::string, long> faults_;
    std::map<std::string, std::string> forms_;
    long long nextId_ = 1;
};

}  // namespace outlook_double
