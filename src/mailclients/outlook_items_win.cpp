#include "mailclients/outlook_items_win.h"

#include <windows.h>

#include "common/wide_string_win.h"
#include "mailclients/outlook_item_props_win.h"
#include "mailclients/outlook_rules.h"
#include "mailclients/outlook_session_win.h"
#include "resource_ids.h"
#include "ui/resources_win.h"
#include "ui/wait_cursor_win.h"

namespace pagelark {

namespace {

std::optional<std::string> ReadDefaultValue(HKEY root, const wchar_t* subKey) {
    wchar_t buffer[520] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (RegGetValueW(root, subKey, nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) return std::nullopt;
    return Narrow(buffer);
}

std::string ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    const size_t slash = folder.find_last_of(L"\\/");
    folder.resize(slash == std::wstring::npos ? 0 : slash);
    return Narrow(folder);
}

void WriteFields(const Dispatch& item, const MessageRecord& record) {
    item.PutText(L"To", record.To);
    item.PutText(L"CC", record.CC);
    item.PutText(L"Subject", record.Subject.empty() ? LoadTextUtf8(IDS_SMS_SUBJECT) : record.Subject);
    item.PutText(L"Body", record.Body);
}

// The form from the program's template, published to the personal forms library; the template
// item itself is never saved.
void PublishForm(const OutlookSession& outlook) {
    Variant path(ProgramFolder() + kFormFile), folder = Variant::Missing();
    Dispatch templateItem = outlook.application().CallObject(L"CreateItemFromTemplate", {&path, &folder});
    Dispatch form = templateItem.GetObject(L"FormDescription");
    form.PutText(L"Name", kFormName);
    form.PutText(L"DisplayName", kFormName);
    Variant registry(static_cast<long>(kPersonalFormsLibrary)), none = Variant::Missing();
    form.Call(L"PublishForm", {&registry, &none});
}

Dispatch AddItem(const Dispatch& folder, const char* messageClass) {
    Dispatch items = folder.GetObject(L"Items");
    Variant type{std::string(messageClass)};
    return items.CallObject(L"Add", {&type});
}

void AddFolderNodes(const Dispatch& folders, const DefaultFolderIds& defaults, std::vector<MailFolder>& siblings, int depth) {
    const long count = folders.Get(L"Count").AsLong();
    for (long i = 1; i <= count; ++i) {
        Variant index(i);
        Dispatch folder = folders.CallObject(L"Item", {&index});
        MailFolder node;
        node.name = folder.GetText(L"Name");
        node.id = folder.GetText(L"EntryID");
        node.image = FolderImageIndex(node.id, folder.Get(L"DefaultItemType").AsLong(), defaults);
        // Stores deeper than any real tree would be are cut off rather than recursed into forever.
        if (depth < 64) AddFolderNodes(folder.GetObject(L"Folders"), defaults, node.children, depth + 1);
        InsertFolderSorted(siblings, std::move(node));
    }
}

void ShowFailure(unsigned textId, const std::string& detail) {
    std::wstring text = LoadText(textId);
    const size_t at = text.find(L"%s");
    if (at != std::wstring::npos) text.replace(at, 2, Widen(detail));
    ShowMessage(GetActiveWindow(), text, MB_OK | MB_ICONERROR);
}

}  // namespace

OutlookItems::OutlookItems(const Settings& settings, std::function<void(const std::string&)> log, Reporter report)
    : settings_(settings), log_(std::move(log)), report_(report ? std::move(report) : Reporter(ShowFailure)) {}

int OutlookItems::Version() {
    return MailClientMajorVersion(HostClient::Outlook, ReadDefaultValue(HKEY_CLASSES_ROOT, L"Outlook.Application\\CurVer"));
}

int OutlookItems::IsDefaultClient() {
    return DefaultMailClientAnswer(ReadDefaultValue(HKEY_LOCAL_MACHINE, L"Software\\Clients\\Mail"));
}

bool OutlookItems::Create(const MessageRecord& record, FolderKind folderKind, std::string* newEntryId) {
    if (!settings_.IntegrateOutlook) return false;
    if (folderKind == FolderKind::SentItems) return CreateSentCopy(record, newEntryId);
    try {
        OutlookSession outlook;
        Dispatch folder = outlook.DefaultFolder(DefaultFolderNumber(folderKind));
        PublishForm(outlook);
        Dispatch item = AddItem(folder, kPagelarkMessageClass);
        item.Put(L"UnRead", Variant::Bool(false));
        WriteFields(item, record);
        item.Call(L"Save");
        if (folderKind != FolderKind::Drafts) {
            Variant destination = Variant::Object(folder.get());
            item = item.CallObject(L"Move", {&destination});
        }
        if (newEntryId) *newEntryId = item.GetText(L"EntryID");
        return true;
    } catch (const AutomationFailure& failure) {
        log_("Error on CreateMessage: " + failure.text + "\n");
        return false;
    }
}

bool OutlookItems::CreateSentCopy(MessageRecord record, std::string* newEntryId) {
    // First the item: a post saved into Sent Items, then given the program's class and the sender.
    try {
        OutlookSession outlook;
        Dispatch sentItems = outlook.DefaultFolder(DefaultFolderNumber(FolderKind::SentItems));
        PublishForm(outlook);
        Dispatch item = AddItem(sentItems, kPostMessageClass);
        item.Call(L"Save");
        record.EntryID = item.GetText(L"EntryID");
        item.PutText(L"MessageClass", kPagelarkMessageClass);
        WriteSenderProperties(item, SenderDisplayText(settings_.UserName, settings_.UserLandCode, settings_.UserMobile));
        item.Call(L"Save");
    } catch (const AutomationFailure& failure) {
        log_("Error on CreateSentMessage: " + failure.text + "\n");
        return false;
    }
    // Then its contents.
    if (!Update(record)) return false;
    if (newEntryId) *newEntryId = record.EntryID;
    return true;
}

bool OutlookItems::Update(const MessageRecord& record) {
    if (record.EntryID.empty()) return false;
    try {
        OutlookSession outlook;
        Dispatch item = outlook.ItemFromId(record.EntryID);
        WriteFields(item, record);
        item.Call(L"Save");
        return true;
    } catch (const AutomationFailure& failure) {
        report_(IDS_OUTLOOK_UPDATE_FAILED, failure.text);
        return false;
    }
}

bool OutlookItems::Read(const std::string& entryId, MessageRecord& item) {
    if (entryId.empty()) return false;
    try {
        OutlookSession outlook;
        Dispatch stored = outlook.ItemFromId(entryId);
        item.Sent = stored.Get(L"Sent").AsBool() ? 1 : 0;
        const ReadProperties read = ReadItemProperties(stored);
        if (read.to) item.To = *read.to;
        if (read.cc) item.CC = *read.cc;
        if (read.body) item.Body = *read.body;
        item.Body = CleanReadBody(item.Body);
        return true;
    } catch (const AutomationFailure& failure) {
        report_(IDS_OUTLOOK_READ_FAILED, failure.text);
        return false;
    }
}

bool OutlookItems::Delete(const std::string& entryId) {
    if (entryId.empty()) return false;
    try {
        OutlookSession outlook;
        outlook.ItemFromId(entryId).Call(L"Delete");
        return true;
    } catch (const AutomationFailure& failure) {
        report_(IDS_OUTLOOK_DELETE_FAILED, failure.text);
        return false;
    }
}

bool OutlookItems::Move(const MessageRecord& record, const std::string& folderId) { return MoveOrCopy(record, folderId, false); }

bool OutlookItems::Copy(const MessageRecord& record, const std::string& folderId) { return MoveOrCopy(record, folderId, true); }

bool OutlookItems::MoveOrCopy(const MessageRecord& record, const std::string& folderId, bool copy) {
    try {
        OutlookSession outlook;
        Dispatch destination = outlook.FolderFromId(folderId);
        Dispatch item;
        if (!record.EntryID.empty()) {
            item = outlook.ItemFromId(record.EntryID);
            // A copy takes the window's text; the stored item stays as it was.
            if (copy) item = item.CallObject(L"Copy");
            WriteFields(item, record);
        } else {
            item = AddItem(destination, kPagelarkMessageClass);
            WriteFields(item, record);
            item.Put(L"UnRead", Variant::Bool(false));
        }
        // Saved before the move, so the window's text goes with the item whatever the store does
        // with unsaved changes.
        item.Call(L"Save");
        Variant target = Variant::Object(destination.get());
        item.Call(L"Move", {&target});
        return true;
    } catch (const AutomationFailure& failure) {
        report_(copy ? IDS_OUTLOOK_COPY_FAILED : IDS_OUTLOOK_MOVE_FAILED, failure.text);
        return false;
    }
}

bool OutlookItems::FolderTree(std::vector<MailFolder>& folders) {
    WaitCursor wait;
    try {
        OutlookSession outlook(false);
        DefaultFolderIds defaults;
        for (int number : FolderTreeDefaultFolders(Version()))
            defaults.Set(number, outlook.DefaultFolder(number).GetText(L"EntryID"));
        std::vector<MailFolder> tree;
        AddFolderNodes(outlook.mapi().GetObject(L"Folders"), defaults, tree, 0);
        folders = std::move(tree);
        return true;
    } catch (const AutomationFailure& failure) {
        report_(IDS_OUTLOOK_FOLDERS_FAILED, failure.text);
        return false;
    }
}

}  // namespace pagelark
