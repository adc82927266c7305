#pragma once
// The window protocol between the Outlook add-in (Quillbridge.dll, loaded by Outlook) and the
// program: the title of the hidden main window it looks for and the two messages it sends there.
// The add-in shares this header with the program and nothing else, so it holds constants only.
#include <cstddef>
#include <cstdint>

namespace pagelark::protocol {

// The program's hidden main window, found by this exact title.
inline constexpr wchar_t kMainWindowTitle[] = L"Orvane.Pagelark";

// Open request: WM_USER + 1, wParam the mail client the window is for (1 Outlook), lParam 0.
inline constexpr unsigned kOpenRequestMessage = 0x0400 + 1;
inline constexpr std::uintptr_t kOpenRequestOutlook = 1;

// Item copy message: WM_COPYDATA with this data kind; the data is an Outlook item's EntryID as
// text ended by a zero byte. An id of up to 79 characters travels in the classic zero-filled
// 80-byte block; a longer one in a block of its length plus the zero. The program reads at most
// kItemCopyMaxBytes; the add-in leaves an id that does not fit there to Outlook.
inline constexpr std::uintptr_t kItemCopyKind = 0xAAAA;
inline constexpr std::size_t kItemCopyBlockBytes = 80;
inline constexpr std::size_t kItemCopyMaxBytes = 1024;

constexpr std::size_t ItemCopyBlockSize(std::size_t idLength) {
    return idLength + 1 > kItemCopyBlockBytes ? idLength + 1 : kItemCopyBlockBytes;
}
constexpr bool ItemCopyFits(std::size_t idLength) { return idLength > 0 && idLength + 1 <= kItemCopyMaxBytes; }

}  // namespace pagelark::protocol
