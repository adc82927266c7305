#include "window/item_copy_block.h"

#include <algorithm>

namespace pagelark {

std::optional<std::string> ReadItemCopyBlock(const void* data, std::size_t size) {
    if (!data) return std::nullopt;
    const char* bytes = static_cast<const char*>(data);
    const char* scanEnd = bytes + std::min(size, kItemCopyMaxBytes);
    const char* zero = std::find(bytes, scanEnd, '\0');
    // Without a terminating zero only the classic block's bytes are taken: a longer id always
    // carries its zero, so unterminated data longer than that is no id of ours.
    const char* end = zero != scanEnd ? zero : bytes + std::min(size, kItemCopyBlockBytes);
    std::string entryId(bytes, end);
    if (entryId.empty()) return std::nullopt;
    return entryId;
}

}  // namespace pagelark
