#include "common/ansi_code_page_win.h"

#include <windows.h>

namespace pagelark {

std::string ThroughAnsiCodePage(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int wide = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (wide <= 0) return {};
    std::wstring text(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), wide);
    const int narrow = WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) return {};
    std::string out(static_cast<size_t>(narrow), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), wide, out.data(), narrow, nullptr, nullptr);
    return out;
}

}  // namespace pagelark
