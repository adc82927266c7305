#include "address_book_double.h"

#include <fstream>

namespace pagelark::blackbox {
namespace {

constexpr wchar_t kMailClients[] = L"SOFTWARE\\Clients\\Mail";
constexpr wchar_t kOutlookClient[] = L"SOFTWARE\\Clients\\Mail\\Microsoft Outlook";
constexpr wchar_t kWabPath[] = L"Software\\Microsoft\\WAB\\DLLPath";

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
        SetString(HKEY_LOCAL_MACHINE, kWabPath, nullptr, TestProgramFolder() + L"\\tests\\doubles\\mapi\\wab32.dll");
        return;
    }
    SetEnvironmentVariableW(L"PAGELARK_MAPI_DOUBLE_DATA", dataPath_.c_str());
    oldDefaultClient_ = GetString(HKEY_LOCAL_MACHINE, kMailClients, nullptr);
    SetString(HKEY_LOCAL_MACHINE, kMailClients, nullptr, L"Microsoft Outlook");
    SetString(HKEY_LOCAL_MACHINE, kOutlookClient, L"DLLPathEx", TestProgramFolder() + L"\\tests\\doubles\\mapi\\mapi_double.dll");
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
    return WaitUntil([&] { return ReadFileText(logPath_).find(text) != std::string::npos; }, timeout);
}

std::string MapiDoubleBook::Data() const { return ReadFileText(dataPath_); }

std::string MapiDoubleBook::Leaks() const { return ReadFileText(dataPath_ + L".leaks"); }

}  // namespace pagelark::blackbox
