#include "service/country_file_download_win.h"

#include <windows.h>
#include <wininet.h>

#include "common/user_data_folder_win.h"
#include "common/wide_string_win.h"
#include "service/internet_handle_win.h"

namespace pagelark {
std::optional<FetchedFile> WinInetCountryFileSource::FetchFrom(const std::string& host, const std::string& path) {
    const bool useProxy = settings_.UseProxy != 0;
    const std::wstring proxy = Widen(settings_.ProxyAddress + ":" + std::to_string(settings_.ProxyPort));
    InternetHandle root(InternetOpenW(L"Pagelark", useProxy ? INTERNET_OPEN_TYPE_PROXY : INTERNET_OPEN_TYPE_DIRECT,
                                      useProxy ? proxy.c_str() : nullptr, nullptr, 0));
    if (!root) return std::nullopt;
    const std::wstring address = Widen("https://" + host + path);
    InternetHandle request(InternetOpenUrlW(root.get(), address.c_str(), nullptr, 0,
                                            INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI,
                                            0));
    if (!request) return std::nullopt;

    FetchedFile file;
    DWORD status = 0;
    DWORD size = sizeof status;
    if (HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        file.httpStatus = static_cast<int>(status);
    char block[1024];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request.get(), block, sizeof block, &read)) return std::nullopt;
        if (read == 0) break;
        file.body.append(block, read);
    }
    return file;
}

std::optional<FetchedFile> WinInetCountryFileSource::Fetch(const std::string& path) {
    if (std::optional<FetchedFile> file = FetchFrom(primary_, path)) return file;
    return FetchFrom(secondary_, path);
}

std::string UpdateDownloadFolder(const std::string& programDir) {
    const std::string userData = UserDataFolder();
    const std::string folder = userData + "\\Updates";
    if (userData.empty() || Widen(folder).size() >= MAX_PATH) return programDir + "\\Updates";
    return folder;
}

}  // namespace pagelark
