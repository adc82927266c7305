#include "service/request_log.h"

#include <filesystem>

#include "common/text_encoding.h"
#include "service/time_text.h"

namespace pagelark {
namespace {

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

constexpr auto kAppendMode = std::ios::in | std::ios::out | std::ios::app | std::ios::binary;

}  // namespace

bool RequestLog::Open(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (file_.is_open()) file_.close();
    path_ = path;
    file_.open(PathFromUtf8(path), kAppendMode);
    return file_.is_open();
}

bool RequestLog::IsOpen() const {
    std::lock_guard lock(mutex_);
    return file_.is_open();
}

void RequestLog::Close() {
    std::lock_guard lock(mutex_);
    if (file_.is_open()) file_.close();
}

void RequestLog::Append(std::string_view text) {
    std::string bytes = Utf8ToCp1252(text);
    if (bytes.empty() || bytes.back() != '\n') bytes += '\n';
    std::string onDisk;
    onDisk.reserve(bytes.size() + 4);
    for (char c : bytes) {
        if (c == '\n') onDisk += '\r';
        onDisk += c;
    }
    std::lock_guard lock(mutex_);
    if (!file_.is_open()) return;
    file_.clear();
    file_.seekp(0, std::ios::end);
    file_.write(onDisk.data(), static_cast<std::streamsize>(onDisk.size()));
    file_.flush();
}

void RequestLog::WriteLine(const LocalTime& requestStart, std::string_view text) {
    std::string line = FormatLogTime(requestStart);
    line += ' ';
    line += text;
    Append(line);
}

std::vector<std::string> RequestLog::ReadLines() {
    std::vector<std::string> lines;
    std::lock_guard lock(mutex_);
    if (!file_.is_open()) return lines;
    file_.clear();
    file_.seekg(0, std::ios::beg);
    std::string line;
    while (std::getline(file_, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(Cp1252ToUtf8(line));
    }
    file_.clear();
    file_.seekp(0, std::ios::end);
    return lines;
}

bool RequestLog::Clear() {
    std::lock_guard lock(mutex_);
    if (path_.empty()) return false;
    if (file_.is_open()) file_.close();
    {
        std::ofstream truncate(PathFromUtf8(path_), std::ios::out | std::ios::trunc | std::ios::binary);
    }
    file_.open(PathFromUtf8(path_), kAppendMode);
    return file_.is_open();
}

}  // namespace pagelark
