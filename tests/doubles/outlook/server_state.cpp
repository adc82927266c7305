#include "server_state.h"

#include <vector>

namespace outlook_double {

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::wstring StoreFilePath() {
    wchar_t buffer[MAX_PATH] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, kDoubleKey, L"StoreFile", RRF_RT_REG_SZ, nullptr, buffer, &size) == ERROR_SUCCESS &&
        buffer[0])
        return buffer;
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path = buffer;
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + L"outlook_store.json";
}

std::string ReadFileText(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) text.append(buffer, read);
    CloseHandle(file);
    return text;
}

bool WriteFileText(const std::wstring& path, const std::string& text) {
    // Written beside and renamed over, so a reader never sees half a file.
    const std::wstring temporary = path + L".new";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    CloseHandle(file);
    return ok && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void WriteDoubleValue(const wchar_t* name, DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kDoubleKey, name, REG_DWORD, &value, sizeof value);
}

DWORD ReadDoubleValue(const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kDoubleKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) return 0;
    return value;
}

ServerState& ServerState::Get() {
    static ServerState state;
    return state;
}

ServerState::ServerState() : path_(StoreFilePath()), created_(static_cast<long>(ReadDoubleValue(L"CreatedObjects"))) {}

Store& ServerState::store() {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const bool exists = GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data) != FALSE;
    if (!loaded_ || !exists || CompareFileTime(&data.ftLastWriteTime, &stamp_) != 0) {
        auto read = exists ? Store::FromJson(ReadFileText(path_)) : std::nullopt;
        store_ = read ? std::move(*read) : Store::Default();
        if (!read) Save();
        else stamp_ = data.ftLastWriteTime;
        loaded_ = true;
    }
    return store_;
}

bool ServerState::Save() {
    const bool ok = WriteFileText(path_, store_.ToJson());
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data)) stamp_ = data.ftLastWriteTime;
    return ok;
}

void ServerState::RefreshSettings() {
    // A client connects: the tests may have pointed the double at another store since.
    const std::wstring path = StoreFilePath();
    if (path != path_) {
        path_ = path;
        loaded_ = false;
    }
    wchar_t buffer[MAX_PATH] = {};
    DWORD size = sizeof buffer;
    callLog_.clear();
    if (RegGetValueW(HKEY_CURRENT_USER, kDoubleKey, L"CallLog", RRF_RT_REG_SZ, nullptr, buffer, &size) == ERROR_SUCCESS)
        callLog_ = buffer;
}

void ServerState::LogCall(const std::string& member, const std::string& argument) {
    if (callLog_.empty()) return;
    HANDLE file = CreateFileW(callLog_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string line = member + (argument.empty() ? "" : " " + argument) + "\r\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

void ServerState::ObjectCreated() {
    ++live_;
    ++created_;
    if (live_ > peak_) {
        peak_ = live_;
        WriteDoubleValue(L"PeakObjects", static_cast<DWORD>(peak_));
    }
    Publish();
}

void ServerState::ObjectDestroyed() {
    --live_;
    Publish();
    if (live_ == 0 && idleWindow_) PostMessageW(idleWindow_, kIdleMessage, 0, 0);
}

void ServerState::Publish() {
    // Tests read these while the double runs and after it ended.
    WriteDoubleValue(L"LiveObjects", static_cast<DWORD>(live_));
    WriteDoubleValue(L"CreatedObjects", static_cast<DWORD>(created_));
}

}  // namespace outlook_double
