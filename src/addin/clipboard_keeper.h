#pragma once
// Keeps what the user had on the clipboard while the add-in borrows it to hand Office the
// button's face, and puts it back afterwards.
#include <windows.h>

#include <utility>
#include <vector>

namespace quillbridge {

class ClipboardKeeper {
public:
    ClipboardKeeper();
    ClipboardKeeper(const ClipboardKeeper&) = delete;
    ClipboardKeeper& operator=(const ClipboardKeeper&) = delete;
    ~ClipboardKeeper();

    // Copies every format it can copy (memory blocks, bitmaps, enhanced metafiles).
    bool Save();
    // Replaces the clipboard's content with the bitmap (which the clipboard then owns).
    bool PutBitmap(HBITMAP bitmap);
    // Empties the clipboard and puts the saved formats back; false when it could not be opened.
    bool Restore();

private:
    bool Open();
    void FreeSaved() noexcept;

    HWND owner_ = nullptr;
    bool saved_ = false;
    std::vector<std::pair<UINT, HANDLE>> formats_;
};

}  // namespace quillbridge
