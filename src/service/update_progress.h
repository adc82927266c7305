#pragma once
// How a package download is read and shown: a known size in 300 blocks and one last read for the
// rest, an unknown size in passes of 4096 bytes, and the texts of the status line.
#include <cstdint>
#include <string>
#include <string_view>

namespace pagelark {

inline constexpr int kUpdateProgressSteps = 300;
inline constexpr std::uint32_t kUnknownSizePass = 4096;

// The size the download expects: the answer's Content-Length, else the status reply's
// "filesize:" when it is at least 1, else unknown (0).
std::uint32_t ExpectedUpdateSize(std::string_view contentLength, std::int32_t announcedSize);

// A known size's block length: size / 300; the 300 block reads are followed by one read of
// the rest, so 250 bytes give blocks of 0 and one read of 250.
inline std::uint32_t UpdateBlockLength(std::uint32_t size) { return size / kUpdateProgressSteps; }

// "<status>\n<received>k / <size>k" and "<status>\n<received>k", in thousands of bytes.
std::string KnownSizeProgressText(std::string_view status, std::uint32_t received, std::uint32_t size);
std::string UnknownSizeProgressText(std::string_view status, std::uint32_t received);

// Keeps count of a download and tells a complete one from one that ended early or ran over.
class DownloadTally {
public:
    explicit DownloadTally(std::uint32_t expectedSize) : expected_(expectedSize) {}
    std::uint32_t Expected() const { return expected_; }
    bool KnownSize() const { return expected_ > 0; }
    std::uint32_t Received() const { return received_; }
    // Bytes still missing of a known size.
    std::uint32_t Remaining() const { return received_ < expected_ ? expected_ - received_ : 0; }
    void Add(std::uint32_t bytes) { received_ += bytes; }
    // The server sent bytes beyond the known size.
    void NoteOverrun() { overrun_ = true; }
    // Complete: a known size received exactly, or an unknown size with at least one byte.
    bool Complete() const;

private:
    std::uint32_t expected_;
    std::uint32_t received_ = 0;
    bool overrun_ = false;
};

}  // namespace pagelark
