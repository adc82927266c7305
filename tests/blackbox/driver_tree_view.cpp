// Tree views of the program, read and worked from outside (the folder chooser's folder tree).
#include "driver.h"

#include <algorithm>

namespace pagelark::blackbox {

namespace {

// TVM_GETITEMW fills a structure and a text buffer that must live in the tree's process.
bool ReadTreeItem(HWND tree, HTREEITEM item, std::wstring* text, int* image) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, ProcessOf(tree));
    if (!process) return false;
    constexpr int kChars = 260;
    bool read = false;
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(TVITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    if (remote) {
        TVITEMW request{};
        request.mask = TVIF_TEXT | TVIF_IMAGE;
        request.hItem = item;
        request.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
        request.cchTextMax = kChars;
        bool ok = false;
        SIZE_T moved = 0;
        if (WriteProcessMemory(process, remote, &request, sizeof request, &moved) &&
            Send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote), &ok) && ok) {
            TVITEMW answer{};
            wchar_t buffer[kChars] = {};
            if (ReadProcessMemory(process, remote, &answer, sizeof answer, &moved) &&
                ReadProcessMemory(process, remote + sizeof(TVITEMW), buffer, sizeof buffer, &moved)) {
                buffer[kChars - 1] = L'\0';
                if (text) *text = buffer;
                if (image) *image = answer.iImage;
                read = true;
            }
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return read;
}

HTREEITEM NextItem(HWND tree, HTREEITEM item, WPARAM relation) {
    return reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

HTREEITEM FindTreeItem(HWND tree, const std::wstring& path) {
    HTREEITEM level = NextItem(tree, nullptr, TVGN_ROOT);
    HTREEITEM found = nullptr;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find(L'/', start), path.size());
        const std::wstring name = path.substr(start, end - start);
        found = nullptr;
        for (HTREEITEM item = level; item; item = NextItem(tree, item, TVGN_NEXT))
            if (TreeItemText(tree, item) == name) {
                found = item;
                break;
            }
        if (!found) return nullptr;
        Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(found));
        level = NextItem(tree, found, TVGN_CHILD);
        start = end + 1;
    }
    return found;
}

std::wstring TreeItemText(HWND tree, HTREEITEM item) {
    std::wstring text;
    ReadTreeItem(tree, item, &text, nullptr);
    return text;
}

int TreeItemImage(HWND tree, HTREEITEM item) {
    int image = -1;
    return ReadTreeItem(tree, item, nullptr, &image) ? image : -1;
}

bool SelectTreeItem(HWND tree, HTREEITEM item) {
    bool ok = false;
    return Send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item), &ok) && ok;
}

}  // namespace pagelark::blackbox
