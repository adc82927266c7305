#include "window/save_as_win.h"

#include <commdlg.h>

#include <vector>

#include "common/handle_win.h"
#include "common/wide_string_win.h"
#include "ids_send.h"
#include "ui/resources_win.h"

namespace pagelark {

std::optional<std::string> AskSaveAsFileName(HWND owner) {
    // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||": the bars become the dialog's separators.
    std::wstring filter = LoadText(IDS_SAVE_AS_FILTER);
    if (filter.empty()) filter = L"Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
    for (wchar_t& ch : filter)
        if (ch == L'|') ch = L'\0';
    filter.push_back(L'\0');

    std::vector<wchar_t> file(MAX_PATH * 4, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = L"txt";
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&ofn)) return std::nullopt;
    return Narrow(file.data());
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    KernelHandle file = OwnFile(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    return file.reset() && ok;
}

void ShowFileNotSaved(HWND owner) {
    ShowMessage(owner, L"File could not be saved.", MB_OK | MB_ICONERROR);
}

}  // namespace pagelark
