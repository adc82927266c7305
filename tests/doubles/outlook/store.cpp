#include "store.h"

#include <cstdio>
#include <functional>

#include "json.h"

namespace outlook_double {

namespace {

Json ItemToJson(const ItemData& item) {
    Json j = Json::Object();
    j.Set("entryId", item.entryId);
    j.Set("messageClass", item.messageClass);
    j.Set("to", item.to);
    j.Set("cc", item.cc);
    j.Set("subject", item.subject);
    j.Set("body", item.body);
    j.Set("senderName", item.senderName);
    j.Set("iconIndex", item.iconIndex);
    j.Set("unread", item.unread);
    j.Set("sent", item.sent);
    return j;
}

ItemData ItemFromJson(const Json& j) {
    ItemData item;
    item.entryId = j["entryId"].Text();
    item.messageClass = j["messageClass"].Text("IPM.Note");
    item.to = j["to"].Text();
    item.cc = j["cc"].Text();
    item.subject = j["subject"].Text();
    item.body = j["body"].Text();
    item.senderName = j["senderName"].Text();
    item.iconIndex = static_cast<int>(j["iconIndex"].Integer(-1));
    item.unread = j["unread"].Bool(true);
    item.sent = j["sent"].Bool(false);
    return item;
}

Json FolderToJson(const FolderData& folder) {
    Json j = Json::Object();
    j.Set("entryId", folder.entryId);
    j.Set("name", folder.name);
    j.Set("defaultItemType", folder.defaultItemType);
    j.Set("defaultFolder", folder.defaultFolder);
    Json items = Json::Array();
    for (const ItemData& item : folder.items) items.Push(ItemToJson(item));
    j.Set("items", items);
    Json folders = Json::Array();
    for (const FolderData& child : folder.folders) folders.Push(FolderToJson(child));
    j.Set("folders", folders);
    return j;
}

FolderData FolderFromJson(const Json& j, int depth) {
    FolderData folder;
    folder.entryId = j["entryId"].Text();
    folder.name = j["name"].Text();
    folder.defaultItemType = static_cast<int>(j["defaultItemType"].Integer(0));
    folder.defaultFolder = static_cast<int>(j["defaultFolder"].Integer(0));
    for (const Json& item : j["items"].Elements()) folder.items.push_back(ItemFromJson(item));
    if (depth < 64)
        for (const Json& child : j["folders"].Elements()) folder.folders.push_back(FolderFromJson(child, depth + 1));
    return folder;
}

FolderData* FindFolderIn(FolderData& folder, const std::function<bool(const FolderData&)>& match) {
    if (match(folder)) return &folder;
    for (FolderData& child : folder.folders)
        if (FolderData* found = FindFolderIn(child, match)) return found;
    return nullptr;
}

}  // namespace

Store Store::Default() {
    Store store;
    struct DefaultFolderRow {
        const char* name;
        int number;
        int itemType;
    };
    // Names and numbers as Outlook's object model publishes them (OlDefaultFolders, OlItemType).
    const DefaultFolderRow rows[] = {
        {"Deleted Items", 3, 0}, {"Outbox", 4, 0},  {"Sent Items", 5, 0}, {"Inbox", 6, 0},
        {"Calendar", 9, 1},      {"Contacts", 10, 2}, {"Journal", 11, 4}, {"Notes", 12, 5},
        {"Tasks", 13, 3},        {"Drafts", 16, 0}, {"Junk E-mail", 23, 0},
    };
    StoreData personal;
    personal.root.name = "Personal Folders";
    personal.root.entryId = store.NewEntryId(true);
    for (const auto& row : rows) {
        FolderData folder;
        folder.name = row.name;
        folder.entryId = store.NewEntryId(true);
        folder.defaultFolder = row.number;
        folder.defaultItemType = row.itemType;
        personal.root.folders.push_back(std::move(folder));
    }
    FolderData projects;
    projects.name = "Projects";
    projects.entryId = store.NewEntryId(true);
    FolderData sms;
    sms.name = "SMS archive";
    sms.entryId = store.NewEntryId(true);
    FolderData year;
    year.name = "2026";
    year.entryId = store.NewEntryId(true);
    sms.folders.push_back(std::move(year));
    projects.folders.push_back(std::move(sms));
    FolderData customers;
    customers.name = "Customers";
    customers.entryId = store.NewEntryId(true);
    customers.defaultItemType = 2;
    projects.folders.push_back(std::move(customers));
    personal.root.folders.push_back(std::move(projects));
    store.stores_.push_back(std::move(personal));

    StoreData archive;
    archive.root.name = "Archive";
    archive.root.entryId = store.NewEntryId(true);
    FolderData old;
    old.name = "old messages";
    old.entryId = store.NewEntryId(true);
    archive.root.folders.push_back(std::move(old));
    FolderData notes;
    notes.name = "Notes 2025";
    notes.entryId = store.NewEntryId(true);
    notes.defaultItemType = 5;
    archive.root.folders.push_back(std::move(notes));
    store.stores_.push_back(std::move(archive));
    return store;
}

std::optional<Store> Store::FromJson(const std::string& text) {
    const auto parsed = Json::Parse(text);
    if (!parsed || parsed->kind() != Json::Kind::Object) return std::nullopt;
    Store store;
    store.nextId_ = (*parsed)["nextId"].Integer(1);
    for (const Json& s : (*parsed)["stores"].Elements()) store.stores_.push_back({FolderFromJson(s, 0)});
    for (const auto& [member, code] : (*parsed)["faults"].Members())
        store.faults_[member] = static_cast<long>(code.Integer());
    for (const auto& [name, messageClass] : (*parsed)["forms"].Members()) store.forms_[name] = messageClass.Text();
    return store;
}

std::string Store::ToJson() const {
    Json j = Json::Object();
    j.Set("nextId", nextId_);
    Json faults = Json::Object();
    for (const auto& [member, code] : faults_) faults.Set(member, static_cast<long long>(code));
    j.Set("faults", faults);
    Json forms = Json::Object();
    for (const auto& [name, messageClass] : forms_) forms.Set(name, messageClass);
    j.Set("forms", forms);
    Json stores = Json::Array();
    for (const StoreData& store : stores_) stores.Push(FolderToJson(store.root));
    j.Set("stores", stores);
    return j.Write(1) + "\n";
}

FolderData* Store::FindFolder(const std::string& entryId) {
    if (entryId.empty()) return nullptr;
    for (StoreData& store : stores_)
        if (FolderData* found = FindFolderIn(store.root, [&](const FolderData& f) { return f.entryId == entryId; }))
            return found;
    return nullptr;
}

FolderData* Store::DefaultFolder(int number) {
    if (stores_.empty() || number == 0) return nullptr;
    return FindFolderIn(stores_.front().root, [&](const FolderData& f) { return f.defaultFolder == number; });
}

FolderData* Store::FolderByPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t slash = path.find('/', start);
        parts.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    for (StoreData& store : stores_) {
        if (store.root.name != parts.front()) continue;
        FolderData* folder = &store.root;
        for (size_t i = 1; folder && i < parts.size(); ++i) {
            FolderData* next = nullptr;
            for (FolderData& child : folder->folders)
                if (child.name == parts[i]) next = &child;
            folder = next;
        }
        if (folder) return folder;
    }
    return nullptr;
}

ItemData* Store::FindItem(const std::string& entryId, FolderData** folderOut) {
    if (entryId.empty()) return nullptr;
    ItemData* found = nullptr;
    for (StoreData& store : stores_) {
        FindFolderIn(store.root, [&](const FolderData& f) {
            for (const ItemData& item : f.items) {
                if (item.entryId == entryId) {
                    auto& folder = const_cast<FolderData&>(f);
                    found = &const_cast<ItemData&>(item);
                    if (folderOut) *folderOut = &folder;
                    return true;
                }
            }
            return false;
        });
        if (found) return found;
    }
    return nullptr;
}

std::string Store::NewEntryId(bool folder) {
    // Shaped like a store's long-term ids: a flag block, a provider uid and a counter, hex.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "00000000%s%016llX", folder ? "F0C1D2E3A4B5C6D7E8F90A1B2C3D4E5F"
                                                                     : "1A2B3C4D5E6F708192A3B4C5D6E7F809",
                  nextId_++);
    return buffer;
}

std::optional<long> Store::Fault(const std::string& member) const {
    const auto it = faults_.find(member);
    if (it == faults_.end()) return std::nullopt;
    return it->second;
}

void Store::AddUserFolders(FolderData& parent, int count, int breadth) {
    // Breadth-first: each folder gets up to `breadth` children before the next level starts.
    std::vector<FolderData*> level{&parent};
    int made = 0;
    while (made < count) {
        std::vector<FolderData*> next;
        for (FolderData* folder : level) {
            folder->folders.reserve(folder->folders.size() + static_cast<size_t>(breadth));
            for (int i = 0; i < breadth && made < count; ++i, ++made) {
                FolderData child;
                char name[32];
                std::snprintf(name, sizeof name, "Folder %03d", count - made);   // reverse order on purpose
                child.name = name;
                child.entryId = NewEntryId(true);
                folder->folders.push_back(std::move(child));
            }
        }
        for (FolderData* folder : level)
            for (FolderData& child : folder->folders)
                if (child.defaultFolder == 0 && child.name.rfind("Folder ", 0) == 0) next.push_back(&child);
        if (next.empty()) break;
        level = std::move(next);
    }
}

}  // namespace outlook_double
