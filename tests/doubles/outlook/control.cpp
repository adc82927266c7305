#include "control.h"

#include <objbase.h>
#include <algorithm>
#include <optional>

#include <cstdio>
#include <functional>

#include "server_state.h"
#include "store.h"

namespace outlook_double {

namespace {

constexpr wchar_t kHelp[] =
    L"outlook_double COMMAND ...\n"
    L"  register [VERSION]        register as Outlook.Application (HKLM classes), CurVer Outlook.Application.VERSION\n"
    L"  unregister                remove that registration\n"
    L"  curver VERSION|none       set or remove Outlook.Application\\CurVer\n"
    L"  store PATH                serve the store file PATH (HKCU\\Software\\Orvane\\OutlookDouble StoreFile)\n"
    L"  reset                     write the default store and zero the object counters\n"
    L"  prepare VERSION STORE LOG register, serve STORE reset, log calls to LOG (all in one)\n"
    L"  seed-folders PATH N B     add N user folders under folder PATH, B children per folder\n"
    L"  add-item PATH CLASS TO CC SUBJECT BODY SENT   add a stored item, print its EntryID\n"
    L"                            (texts may hold \\r, \\n and \\\\)\n"
    L"  folders                   print the folder tree with ids\n"
    L"  list PATH                 print the items of a folder (EntryID, class, subject, to)\n"
    L"  show ENTRYID              print an item's folder, class and properties\n"
    L"  fault CLASS.MEMBER HRESULT | fault clear    make a call fail, or none\n"
    L"  calllog PATH|none         log every call to PATH (read when a client connects)\n"
    L"  live                      print LiveObjects CreatedObjects PeakObjects\n"
    L"  quit                      end every running double (waits up to 5 s each, then ends it by force)\n"
    L"Folder paths are names joined by '/', starting with the store: \"Personal Folders/Sent Items\".\n"
    L"A server started while HKCU\\Software\\Orvane\\OutlookDouble ClientProcessId names a running process\n"
    L"ends when that process ends.\n";

void Print(const std::string& text) {
    DWORD written = 0;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out && out != INVALID_HANDLE_VALUE) WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string ClassIdText() {
    wchar_t text[64] = {};
    StringFromGUID2(DoubleClassId(), text, 64);
    return Narrow(text);
}

bool SetClassesValue(const std::wstring& subKey, const wchar_t* name, const std::wstring& value) {
    const std::wstring key = L"Software\\Classes\\" + subKey;
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool SetCurVer(const std::wstring& version) {
    if (version == L"none") {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Outlook.Application\\CurVer");
        return true;
    }
    const std::wstring progId = L"Outlook.Application." + version;
    const std::wstring classId = Widen(ClassIdText());
    return SetClassesValue(L"Outlook.Application\\CurVer", nullptr, progId) &&
           SetClassesValue(progId + L"\\CLSID", nullptr, classId);
}

bool Register(const std::wstring& version) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring classId = Widen(ClassIdText());
    const std::wstring classKey = L"CLSID\\" + classId;
    return SetClassesValue(classKey, nullptr, L"Outlook double") &&
           SetClassesValue(classKey + L"\\LocalServer32", nullptr, L"\"" + std::wstring(path) + L"\"") &&
           SetClassesValue(classKey + L"\\ProgID", nullptr, L"Outlook.Application." + version) &&
           SetClassesValue(L"Outlook.Application", nullptr, L"Outlook double") &&
           SetClassesValue(L"Outlook.Application\\CLSID", nullptr, classId) && SetCurVer(version);
}

void Unregister() {
    const std::wstring classKey = L"Software\\Classes\\CLSID\\" + Widen(ClassIdText());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, classKey.c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Outlook.Application");
}

bool SetDoubleText(const wchar_t* name, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, kDoubleKey, name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::optional<Store> LoadStore() {
    const std::string text = ReadFileText(StoreFilePath());
    if (text.empty()) return Store::Default();
    return Store::FromJson(text);
}

bool SaveStore(const Store& store) { return WriteFileText(StoreFilePath(), store.ToJson()); }

void PrintFolders(const FolderData& folder, int depth, std::string& out) {
    out += std::string(static_cast<size_t>(depth * 2), ' ') + folder.name + "\t" + folder.entryId + "\t" +
           std::to_string(folder.defaultItemType) + "\t" + std::to_string(folder.items.size()) + "\n";
    for (const FolderData& child : folder.folders) PrintFolders(child, depth + 1, out);
}

bool PathOf(const FolderData& folder, const FolderData* target, std::string prefix, std::string& out) {
    prefix += folder.name;
    if (&folder == target) {
        out = prefix;
        return true;
    }
    for (const FolderData& child : folder.folders)
        if (PathOf(child, target, prefix + "/", out)) return true;
    return false;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

// "\r", "\n" and "\\" in command-line texts, so a body can hold line breaks.
std::string Unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == 'r' || next == 'n' || next == '\\') {
                out += next == 'r' ? '\r' : next == 'n' ? '\n' : '\\';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Asks every running double to end and waits for it; one that does not end in time is ended.
bool EndServers() {
    for (int round = 0; round < 8; ++round) {
        HWND server = FindWindowW(kServerWindowClass, nullptr);
        if (!server) return true;
        DWORD pid = 0;
        GetWindowThreadProcessId(server, &pid);
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
        PostMessageW(server, WM_CLOSE, 0, 0);
        if (process) {
            if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) {
                TerminateProcess(process, 4);
                WaitForSingleObject(process, 5000);
            }
            CloseHandle(process);
        }
        for (int i = 0; i < 100 && IsWindow(server); ++i) Sleep(20);
    }
    return FindWindowW(kServerWindowClass, nullptr) == nullptr;
}

int Usage() {
    Print(Narrow(kHelp));
    return 2;
}

}  // namespace

int RunControl(const std::vector<std::wstring>& args) {
    if (args.empty()) return Usage();
    const std::wstring& command = args[0];
    std::vector<std::string> a;
    for (size_t i = 1; i < args.size(); ++i) a.push_back(Narrow(args[i]));

    if (command == L"register") return Register(args.size() > 1 ? args[1] : L"11") ? 0 : 1;
    if (command == L"unregister") {
        Unregister();
        return 0;
    }
    if (command == L"curver" && a.size() == 1) return SetCurVer(args[1]) ? 0 : 1;
    if (command == L"store" && a.size() == 1) return SetDoubleText(L"StoreFile", args[1]) ? 0 : 1;
    if (command == L"prepare" && a.size() == 3) {
        if (!Register(args[1]) || !SetDoubleText(L"StoreFile", args[2]) || !SetDoubleText(L"CallLog", args[3])) return 1;
        DeleteFileW(args[3].c_str());
    }
    if (command == L"reset" || (command == L"prepare" && a.size() == 3)) {
        WriteDoubleValue(L"LiveObjects", 0);
        WriteDoubleValue(L"CreatedObjects", 0);
        WriteDoubleValue(L"PeakObjects", 0);
        return SaveStore(Store::Default()) ? 0 : 1;
    }
    if (command == L"calllog" && a.size() == 1) {
        if (a[0] == "none") {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kDoubleKey, L"CallLog");
            return 0;
        }
        return SetDoubleText(L"CallLog", args[1]) ? 0 : 1;
    }
    if (command == L"live") {
        Print(std::to_string(ReadDoubleValue(L"LiveObjects")) + " " + std::to_string(ReadDoubleValue(L"CreatedObjects")) + " " +
              std::to_string(ReadDoubleValue(L"PeakObjects")) + "\n");
        return 0;
    }
    if (command == L"quit") return EndServers() ? 0 : 1;

    auto store = LoadStore();
    if (!store) {
        Print("The store file is not valid JSON.\n");
        return 1;
    }
    if (command == L"seed-folders" && a.size() == 3) {
        FolderData* parent = store->FolderByPath(a[0]);
        if (!parent) return 1;
        store->AddUserFolders(*parent, std::atoi(a[1].c_str()), std::max(1, std::atoi(a[2].c_str())));
        return SaveStore(*store) ? 0 : 1;
    }
    if (command == L"add-item" && a.size() == 7) {
        FolderData* folder = store->FolderByPath(a[0]);
        if (!folder) return 1;
        ItemData item;
        item.entryId = store->NewEntryId(false);
        item.messageClass = a[1];
        item.to = Unescaped(a[2]);
        item.cc = Unescaped(a[3]);
        item.subject = Unescaped(a[4]);
        item.body = Unescaped(a[5]);
        item.sent = a[6] == "1";
        item.unread = false;
        folder->items.push_back(item);
        if (!SaveStore(*store)) return 1;
        Print(item.entryId + "\n");
        return 0;
    }
    if (command == L"folders") {
        std::string out;
        for (const StoreData& s : store->stores()) PrintFolders(s.root, 0, out);
        Print(out);
        return 0;
    }
    if (command == L"list" && a.size() == 1) {
        const FolderData* folder = store->FolderByPath(a[0]);
        if (!folder) return 1;
        std::string out;
        for (const ItemData& item : folder->items)
            out += item.entryId + "\t" + item.messageClass + "\t" + item.subject + "\t" + item.to + "\n";
        Print(out);
        return 0;
    }
    if (command == L"show" && a.size() == 1) {
        FolderData* folder = nullptr;
        const ItemData* item = store->FindItem(a[0], &folder);
        if (!item) return 1;
        std::string path;
        for (const StoreData& s : store->stores())
            if (PathOf(s.root, folder, "", path)) break;
        Print("Folder: " + path + "\nMessageClass: " + item->messageClass + "\nTo: " + Escaped(item->to) +
              "\nCC: " + Escaped(item->cc) + "\nSubject: " + Escaped(item->subject) + "\nBody: " + Escaped(item->body) +
              "\nSenderName: " + Escaped(item->senderName) + "\nIconIndex: " + std::to_string(item->iconIndex) +
              "\nUnRead: " + (item->unread ? "1" : "0") + "\nSent: " + (item->sent ? "1" : "0") + "\n");
        return 0;
    }
    if (command == L"fault" && a.size() == 1 && a[0] == "clear") {
        store->ClearFaults();
        return SaveStore(*store) ? 0 : 1;
    }
    if (command == L"fault" && a.size() == 2) {
        store->SetFault(a[0], static_cast<long>(std::strtoul(a[1].c_str(), nullptr, 0)));
        return SaveStore(*store) ? 0 : 1;
    }
    return Usage();
}

}  // namespace outlook_double
