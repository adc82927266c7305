#pragma once
// A diagnostic log of the address books (Mapi.log, WAB.log): plain text, one line at a time,
// flushed at once so that the file tells how far a reading got even when the program dies.
// Reading threads and the user-interface thread write to the same log, so lines are serialised.
#include <cstdio>
#include <initializer_list>
#include <mutex>
#include <string>

namespace pagelark {

class AddressBookLog {
public:
    AddressBookLog() = default;
    ~AddressBookLog();
    AddressBookLog(const AddressBookLog&) = delete;
    AddressBookLog& operator=(const AddressBookLog&) = delete;

    // Creates (empties) the file, or with `append` opens it to write on at its end; shared for
    // reading and writing; 0 or the system's error code.
    unsigned long Open(const std::wstring& path, bool append = false);
    bool IsOpen() const { return file_ != nullptr; }
    const std::wstring& path() const { return path_; }
    void Close();

    // printf-style; the text is written as it is (the lines carry their own "\n"). Without an
    // open file the line is dropped.
    void Write(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void WriteText(const std::string& text);

private:
    std::mutex mutex_;
    std::FILE* file_ = nullptr;
    std::wstring path_;
};

// The system's text for an error code, without its line break.
std::wstring SystemErrorText(unsigned long error);
// `pattern` with each "%s" replaced by the next of `values`.
std::wstring FillPlaceholders(std::wstring pattern, std::initializer_list<std::wstring> values);

}  // namespace pagelark
