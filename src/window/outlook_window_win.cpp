#include "window/outlook_window_win.h"

#include <string>

#include "common/handle_win.h"

namespace pagelark {
namespace {

struct WindowSearch {
    std::wstring_view imageName;
    std::wstring_view titlePart;
    HWND found = nullptr;
};

std::wstring TitleOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
               CSTR_EQUAL;
}

// The file name of the executable the window's process runs; empty when it cannot be read.
std::wstring ImageNameOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == 0) return {};
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return {};
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = static_cast<DWORD>(std::size(path));
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    const std::wstring_view full(path, size);
    const size_t slash = full.find_last_of(L"\\/");
    return std::wstring(slash == std::wstring_view::npos ? full : full.substr(slash + 1));
}

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    if (!IsWindowVisible(window)) return TRUE;
    if (TitleOf(window).find(search.titlePart) == std::wstring::npos) return TRUE;
    if (!EqualsIgnoringCase(ImageNameOf(window), search.imageName)) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

HWND FindTopLevelWindowOf(std::wstring_view imageName, std::wstring_view titlePart) {
    WindowSearch search{imageName, titlePart};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindOutlookMainWindow() { return FindTopLevelWindowOf(L"OUTLOOK.EXE", L"Microsoft Outlook"); }

}  // namespace pagelark
