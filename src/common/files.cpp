#include "common/files.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace pagelark {
namespace {

std::filesystem::path ToPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

std::string JoinPath(std::string_view dir, std::string_view name) {
#ifdef _WIN32
    constexpr char kSeparator = '\\';
#else
    constexpr char kSeparator = '/';
#endif
    std::string out(dir);
    out.push_back(kSeparator);
    out.append(name);
    return out;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(ToPath(path), ec);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    std::ifstream in(ToPath(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

}  // namespace pagelark
