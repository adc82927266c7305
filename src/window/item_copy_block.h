#pragma once
// The item copy message the Outlook add-in sends to the hidden main window (WM_COPYDATA): the
// entry id of an Outlook item as zero-terminated text, in the classic 80-byte block or, for a
// longer id, in a block as long as the id and its zero (common/window_protocol.h).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "common/window_protocol.h"

namespace pagelark {

inline constexpr std::uintptr_t kItemCopyKind = protocol::kItemCopyKind;
inline constexpr std::size_t kItemCopyBlockBytes = protocol::kItemCopyBlockBytes;
inline constexpr std::size_t kItemCopyMaxBytes = protocol::kItemCopyMaxBytes;

// The entry id: the text up to the first zero byte within the first kItemCopyMaxBytes, never
// beyond the `size` bytes actually sent. Data without a zero there is read as the classic block
// filled to its end: its first 80 bytes. Nothing when there is no text (no data, or a zero first
// byte): such a message names no item to open.
std::optional<std::string> ReadItemCopyBlock(const void* data, std::size_t size);

}  // namespace pagelark
