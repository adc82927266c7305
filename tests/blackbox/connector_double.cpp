#include "connector_double.h"

#include <fstream>

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

}  // namespace

ConnectorDouble::ConnectorDouble(const std::string& identity, bool registered, bool clientRunning) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    storePath_ = std::wstring(temp) + L"pagelark_blackbox_connector.store";
    DeleteFileW((storePath_ + L".leaks").c_str());
    std::ofstream(storePath_.c_str(), std::ios::binary | std::ios::trunc)
        << "identity\t" << identity << "\nrunning\t" << (clientRunning ? "1" : "0") << "\n";
    SetEnvironmentVariableW(L"PAGELARK_CONNECTOR_DOUBLE_STORE", storePath_.c_str());
    if (registered) Register();
}

ConnectorDouble::~ConnectorDouble() {
    Unregister();
    SetEnvironmentVariableW(L"PAGELARK_CONNECTOR_DOUBLE_STORE", nullptr);
    DeleteFileW(storePath_.c_str());
}

void ConnectorDouble::Register() {
    const std::wstring server = TestProgramFolder() + L"\\tests\\doubles\\connector\\connector_double.dll";
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

connector_double::Store ConnectorDouble::Contents() const {
    const int size = WideCharToMultiByte(CP_ACP, 0, storePath_.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string path(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, storePath_.c_str(), -1, path.data(), size, nullptr, nullptr);
    return connector_double::LoadStore(path);
}

std::string ConnectorDouble::Leaks() const { return ReadFileText(storePath_ + L".leaks"); }

std::string ReadMapiLog() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    // Written in text mode: lines end in CR LF on disk.
    std::string text = ReadFileText(std::wstring(temp) + L"Mapi.log");
    std::string lines;
    for (char c : text)
        if (c != '\r') lines += c;
    return lines;
}

}  // namespace pagelark::blackbox
