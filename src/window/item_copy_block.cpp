#include "window/item_copy_block.h"

#include <algorithm>

namespace pagelark {

std::optional<std::string> ReadItemCopyBlock(const void* data, std::size_t size) {
    if (!data) return std::nullopt;
    const char* bytes = static_cast<const char*>(data);
    const char* end = bytes + std::min(size, kItemCopyBlockBytes);
    std::string entryId(bytes, std::find(bytes, end, '\0'));
    if (entryId.empty()) return std::nullopt;
    return entryId;
}

}  // namespace pagelark
