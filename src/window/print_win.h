#pragma once
// Printing a message's text: the system print dialog, then plain text paginated by lines with a
// progress box that can cancel. Failures are reported by the platform's dialog; the message
// window is only the owner.
#include <windows.h>

#include <string>

namespace pagelark {

enum class PrintOutcome { Cancelled, Failed, Aborted, Printed };

// `utf8Text` with CR LF line breaks; `documentName` is the print job's name.
PrintOutcome PrintPlainText(HWND owner, const std::string& utf8Text, const std::wstring& documentName);

}  // namespace pagelark
