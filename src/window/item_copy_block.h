#pragma once
// The item copy message the Outlook add-in sends to the hidden main window (WM_COPYDATA): the
// entry id of an Outlook item as zero-terminated text in an 80-byte block.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pagelark {

inline constexpr std::uintptr_t kItemCopyKind = 0xAAAA;
inline constexpr std::size_t kItemCopyBlockBytes = 80;

// The entry id: the text up to the first zero byte within the first 80 bytes, never beyond the
// `size` bytes actually sent. Nothing when there is no text (no data, or a zero first byte):
// such a message names no item to open.
std::optional<std::string> ReadItemCopyBlock(const void* data, std::size_t size);

}  // namespace pagelark
