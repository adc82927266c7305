#include "connector_double.h"

#include <fstream>
#include <sstream>

namespace pagelark::blackbox {
namespace {

// Kept in step with tests/doubles/connector/connector_double.cpp.
struct ClassEntry {
    const wchar_t* progId;
    const wchar_t* classId;
};
constexpr ClassEntry kClasses[] = {
    {L"Pagelark.MailConnector.Init", L"{6B1F7A10-3C2D-4E51-9A10-5D2E7C410001}"},
    {L"Pagelark.MailConnector.FolderManager", L"{6B1F7A10-3C2D-4E51-9A10-5D2E7C410002}"},
    {L"Pagelark.MailConnector.Client", L"{6B1F7A10-3C2D-4E51-9A10-5D2E7C410003}"},
    {L"Pagelark.MailConnector.Identity", L"{6B1F7A10-3C2D-4E51-9A10-5D2E7C410004}"},
};
constexpr wchar_t kControlClass[] = L"PagelarkConnectorDouble.Control";

std::wstring TestFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::string ReadText(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

std::vector<std::vector<std::string>> StoreRecords(const std::wstring& path, const std::string& kind) {
    std::vector<std::vector<std::string>> records;
    std::istringstream text(ReadText(path));
    std::string line;
    while (std::getline(text, line)) {
        std::vector<std::string> fields;
        size_t start = 0;
        for (;;) {
            const size_t tab = line.find('\t', start);
            fields.push_back(Unescape(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        if (fields[0] == kind) records.push_back(fields);
    }
    return records;
}

}  // namespace

ConnectorDouble::ConnectorDouble(const std::string& identity, bool registered) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    storePath_ = std::wstring(temp) + L"pagelark_blackbox_connector.store";
    DeleteFileW((storePath_ + L".leaks").c_str());
    std::ofstream(storePath_.c_str(), std::ios::binary | std::ios::trunc) << "identity\t" << identity << "\nrunning\t0\n";
    SetEnvironmentVariableW(L"PAGELARK_CONNECTOR_DOUBLE_STORE", storePath_.c_str());
    if (registered) Register();
}

ConnectorDouble::~ConnectorDouble() {
    Unregister();
    SetEnvironmentVariableW(L"PAGELARK_CONNECTOR_DOUBLE_STORE", nullptr);
    DeleteFileW(storePath_.c_str());
}

void ConnectorDouble::Register() {
    const std::wstring server = TestFolder() + L"\\tests\\doubles\\connector\\connector_double.dll";
    for (const ClassEntry& entry : kClasses) {
        const std::wstring progKey = std::wstring(L"Software\\Classes\\") + entry.progId;
        const std::wstring classKey = std::wstring(L"Software\\Classes\\CLSID\\") + entry.classId;
        SetString(HKEY_LOCAL_MACHINE, progKey.c_str(), nullptr, entry.progId);
        SetString(HKEY_LOCAL_MACHINE, (progKey + L"\\CLSID").c_str(), nullptr, entry.classId);
        SetString(HKEY_LOCAL_MACHINE, classKey.c_str(), nullptr, entry.progId);
        SetString(HKEY_LOCAL_MACHINE, (classKey + L"\\ProgID").c_str(), nullptr, entry.progId);
        SetString(HKEY_LOCAL_MACHINE, (classKey + L"\\InprocServer32").c_str(), nullptr, server);
        SetString(HKEY_LOCAL_MACHINE, (classKey + L"\\InprocServer32").c_str(), L"ThreadingModel", L"Apartment");
    }
    registered_ = true;
}

void ConnectorDouble::Unregister() {
    for (const ClassEntry& entry : kClasses) {
        DeleteKey(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\") + entry.progId).c_str());
        DeleteKey(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\CLSID\\") + entry.classId).c_str());
    }
    registered_ = false;
}

bool ConnectorDouble::WaitForControl(Duration timeout) const {
    return WaitUntil([] { return FindWindowW(kControlClass, nullptr) != nullptr; }, timeout);
}

long ConnectorDouble::Control(const std::string& command) {
    if (!WaitForControl()) return -1;
    HWND control = FindWindowW(kControlClass, nullptr);
    COPYDATASTRUCT data{0, static_cast<DWORD>(command.size()), const_cast<char*>(command.data())};
    bool ok = false;
    const LRESULT result = Send(control, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), &ok, 10s);
    return ok ? static_cast<long>(result) : -1;
}

std::vector<ConnectorDouble::Button> ConnectorDouble::Buttons() const {
    std::vector<Button> buttons;
    for (const auto& fields : StoreRecords(storePath_, "button"))
        if (fields.size() >= 5) buttons.push_back({fields[1], fields[2], fields[3], fields[4]});
    return buttons;
}

std::vector<ConnectorDouble::Message> ConnectorDouble::Messages() const {
    std::vector<Message> messages;
    for (const auto& fields : StoreRecords(storePath_, "message"))
        if (fields.size() >= 4) messages.push_back({fields[1], std::atoi(fields[2].c_str()), fields[3]});
    return messages;
}

std::string ConnectorDouble::Leaks() const { return ReadText(storePath_ + L".leaks"); }

std::string ReadMapiLog() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    // Written in text mode: lines end in CR LF on disk.
    std::string text = ReadText(std::wstring(temp) + L"Mapi.log");
    std::string lines;
    for (char c : text)
        if (c != '\r') lines += c;
    return lines;
}

}  // namespace pagelark::blackbox
