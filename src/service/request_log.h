#pragma once
// The request log Pagelark.log: failed status and send requests leave a time-stamped line.
// Opened once at start-up and never truncated by opening; lines end in CR LF on disk and are
// Windows-1252 there. Shared by the user-interface thread and the status workers: every
// operation takes the log's own lock.
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "service/service_ports.h"

namespace pagelark {

class RequestLog {
public:
    RequestLog() = default;
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;

    // Opens (creating if needed) the file at `path` (UTF-8) for reading and appending.
    bool Open(const std::string& path);
    bool IsOpen() const;
    void Close();

    // Appends `text` as it stands (UTF-8; it carries its own time). Each line feed becomes
    // CR LF; a missing final line feed is added. Skipped when the log is not open.
    void Append(std::string_view text);
    // Appends "<time> <text>" as one line.
    void WriteLine(const LocalTime& requestStart, std::string_view text);

    // Every line from the start of the file, oldest first, without line ends (UTF-8).
    std::vector<std::string> ReadLines();
    // Empties the file; it stays open for further lines.
    bool Clear();

private:
    mutable std::mutex mutex_;
    std::string path_;
    std::fstream file_;
};

}  // namespace pagelark
