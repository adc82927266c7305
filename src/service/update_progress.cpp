#include "service/update_progress.h"

namespace pagelark {

std::uint32_t ExpectedUpdateSize(std::string_view contentLength, std::int32_t announcedSize) {
    std::uint64_t value = 0;
    bool digits = !contentLength.empty() && contentLength.size() <= 10;
    for (char c : contentLength) {
        if (c < '0' || c > '9') {
            digits = false;
            break;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    // A length beyond what one buffer may hold is no usable size either.
    if (digits && value > 0 && value < 0x7FFFFFFFu) return static_cast<std::uint32_t>(value);
    return announcedSize >= 1 ? static_cast<std::uint32_t>(announcedSize) : 0;
}

std::string KnownSizeProgressText(std::string_view status, std::uint32_t received, std::uint32_t size) {
    std::string text(status);
    text += '\n';
    text += std::to_string(received / 1000);
    text += "k / ";
    text += std::to_string(size / 1000);
    text += 'k';
    return text;
}

std::string UnknownSizeProgressText(std::string_view status, std::uint32_t received) {
    std::string text(status);
    text += '\n';
    text += std::to_string(received / 1000);
    text += 'k';
    return text;
}

bool DownloadTally::Complete() const {
    if (overrun_) return false;
    return KnownSize() ? received_ == expected_ : received_ > 0;
}

}  // namespace pagelark
