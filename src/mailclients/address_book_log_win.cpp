#include "mailclients/address_book_log_win.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdarg>
#include <vector>

namespace pagelark {

AddressBookLog::~AddressBookLog() { Close(); }

unsigned long AddressBookLog::Open(const std::wstring& path, bool append) {
    std::lock_guard lock(mutex_);
    if (file_) std::fclose(file_);
    file_ = nullptr;
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return GetLastError();
    // "a" in _fdopen alone does not move a descriptor made from a handle: _O_APPEND does.
    const int descriptor =
        _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_TEXT | _O_RDWR | (append ? _O_APPEND : 0));
    if (descriptor < 0) {
        CloseHandle(handle);
        return ERROR_INVALID_HANDLE;
    }
    file_ = _fdopen(descriptor, append ? "a+t" : "w+t");
    if (!file_) {
        _close(descriptor);
        return ERROR_INVALID_HANDLE;
    }
    path_ = path;
    return 0;
}

void AddressBookLog::Close() {
    std::lock_guard lock(mutex_);
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

void AddressBookLog::Write(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
    WriteText(text);
}

void AddressBookLog::WriteText(const std::string& text) {
    std::lock_guard lock(mutex_);
    if (!file_) return;
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

std::wstring SystemErrorText(unsigned long error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = length && text ? std::wstring(text, length) : L"Error " + std::to_wstring(error);
    if (text) LocalFree(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r')) result.pop_back();
    return result;
}

std::wstring FillPlaceholders(std::wstring pattern, std::initializer_list<std::wstring> values) {
    size_t from = 0;
    for (const std::wstring& value : values) {
        const size_t at = pattern.find(L"%s", from);
        if (at == std::wstring::npos) break;
        pattern.replace(at, 2, value);
        from = at + value.size();
    }
    return pattern;
}

}  // namespace pagelark
