// libFuzzer target: the item copy message's data block as another process may send it, of any
// size and content. The bytes are copied to a buffer of exactly the size sent, so a read past
// the data is caught.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "window/item_copy_block.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pagelark;
    const auto block = std::make_unique<char[]>(size == 0 ? 1 : size);
    if (size > 0) std::memcpy(block.get(), data, size);
    const std::optional<std::string> entryId = ReadItemCopyBlock(size == 0 ? nullptr : block.get(), size);
    if (!entryId) {
        Check(size == 0 || block[0] == '\0');
        return 0;
    }
    Check(!entryId->empty() && entryId->size() < kItemCopyMaxBytes && entryId->size() <= size);
    // Beyond the classic block only a text ended by its zero is taken.
    Check(entryId->size() <= kItemCopyBlockBytes || data[entryId->size()] == 0);
    Check(entryId->find('\0') == std::string::npos);
    Check(std::memcmp(entryId->data(), data, entryId->size()) == 0);
    // The text ends at the first zero, the block's end or the data's end, whichever comes first.
    const std::size_t end = entryId->size();
    Check(end == kItemCopyBlockBytes || end == size || data[end] == 0);
    return 0;
}
