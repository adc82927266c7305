#include "address_book_double.h"

#include <fstream>
#include <sstream>

namespace pagelark::blackbox {
namespace {

constexpr wchar_t kMailClients[] = L"SOFTWARE\\Clients\\Mail";
constexpr wchar_t kOutlookClient[] = L"SOFTWARE\\Clients\\Mail\\Microsoft Outlook";
constexpr wchar_t kWabPath[] = L"Software\\Microsoft\\WAB\\DLLPath";

std::wstring Folder() {
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

}  // namespace

MapiDoubleBook::MapiDoubleBook(const std::string& data, Source source) : source_(source) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const bool wab = source == Source::OutlookExpress;
    dataPath_ = std::wstring(temp) + (wab ? L"pagelark_blackbox_wab.data" : L"pagelark_blackbox_mapi.data");
    logPath_ = std::wstring(temp) + (wab ? L"WAB.log" : L"Mapi.log");
    DeleteFileW((dataPath_ + L".leaks").c_str());
    DeleteFileW(logPath_.c_str());
    std::ofstream(dataPath_.c_str(), std::ios::binary | std::ios::trunc) << data;
    if (wab) {
        SetEnvironmentVariableW(L"PAGELARK_WAB_DOUBLE_DATA", dataPath_.c_str());
        SetString(HKEY_LOCAL_MACHINE, kWabPath, nullptr, Folder() + L"\\tests\\doubles\\mapi\\wab32.dll");
        return;
    }
    SetEnvironmentVariableW(L"PAGELARK_MAPI_DOUBLE_DATA", dataPath_.c_str());
    oldDefaultClient_ = GetString(HKEY_LOCAL_MACHINE, kMailClients, nullptr);
    SetString(HKEY_LOCAL_MACHINE, kMailClients, nullptr, L"Microsoft Outlook");
    SetString(HKEY_LOCAL_MACHINE, kOutlookClient, L"DLLPathEx", Folder() + L"\\tests\\doubles\\mapi\\mapi_double.dll");
}

MapiDoubleBook::~MapiDoubleBook() {
    if (source_ == Source::OutlookExpress) {
        DeleteKey(HKEY_LOCAL_MACHINE, kWabPath);
        SetEnvironmentVariableW(L"PAGELARK_WAB_DOUBLE_DATA", nullptr);
        DeleteFileW(dataPath_.c_str());
        return;
    }
    DeleteValue(HKEY_LOCAL_MACHINE, kOutlookClient, L"DLLPathEx");
    if (oldDefaultClient_) SetString(HKEY_LOCAL_MACHINE, kMailClients, nullptr, *oldDefaultClient_);
    SetEnvironmentVariableW(L"PAGELARK_MAPI_DOUBLE_DATA", nullptr);
    DeleteFileW(dataPath_.c_str());
}

bool MapiDoubleBook::WaitForLog(const std::string& text, Duration timeout) const {
    return WaitUntil([&] { return ReadText(logPath_).find(text) != std::string::npos; }, timeout);
}

std::string MapiDoubleBook::Data() const { return ReadText(dataPath_); }

std::string MapiDoubleBook::Leaks() const { return ReadText(dataPath_ + L".leaks"); }

}  // namespace pagelark::blackbox
