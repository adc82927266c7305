#include "service/country_file_download.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "common/files.h"

namespace pagelark {
namespace {

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

bool IsCodeRow(std::string_view line) {
    const size_t semicolon = line.find(';');
    if (semicolon == 0 || semicolon == std::string_view::npos) return false;
    bool digits = false;
    for (char c : line.substr(semicolon + 1)) {
        if (c == ' ') continue;
        if (c < '0' || c > '9') return false;
        digits = true;
    }
    return digits;
}

}  // namespace

bool LooksLikeCountryFile(std::string_view bytes) {
    bool anyRow = false;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view{} : bytes.substr(end + 1);
        // No country name holds "<": such a line is a tag of a web page.
        if (line.find('<') != std::string_view::npos) return false;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (IsCodeRow(line)) anyRow = true;
    }
    return anyRow;
}

std::string CountryFileRequestPath(std::string_view countryFile) {
    std::string path = "/pagelark/updates/";
    path.append(countryFile);
    return path;
}

bool DownloadCountryFile(CountryFileSource& source, std::string_view countryFile, const std::string& downloadFolder,
                         const std::string& programDir) {
    // A name with a path in it would write outside both folders.
    if (countryFile.empty() || countryFile.find_first_of("/\\:") != std::string_view::npos) return false;
    const std::optional<FetchedFile> fetched = source.Fetch(CountryFileRequestPath(countryFile));
    if (!fetched || fetched->httpStatus < 200 || fetched->httpStatus > 299) return false;
    if (!fetched->body.empty() && !LooksLikeCountryFile(fetched->body)) return false;

    std::error_code error;
    std::filesystem::create_directories(PathOf(downloadFolder), error);
    const std::string downloaded = JoinPath(downloadFolder, countryFile);
    if (!WriteWholeFile(downloaded, fetched->body)) return false;
    if (fetched->body.empty()) return true;

    // Written from the bytes in hand rather than copied: the MinGW library's copy_file refuses to
    // replace an existing file.
    return WriteWholeFile(JoinPath(JoinPath(programDir, "Data"), countryFile), fetched->body);
}

}  // namespace pagelark
