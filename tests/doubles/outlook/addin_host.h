#pragma once
// The Outlook double as an add-in host: "outlook_double host" plays a running Outlook with its
// main window. It loads the COM add-ins registered under Software\Microsoft\Office\Outlook\Addins
// (machine and user) with LoadBehavior 3 by their ProgIDs, connects them to its Application, and
// takes commands from tests through its control window (see RunHost's help text in addin_host.cpp).
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace outlook_double {

inline constexpr wchar_t kHostWindowClass[] = L"OutlookDouble.Host";
// HKCU: the host's process id, the add-ins it loaded and the answer to the last command.
inline constexpr wchar_t kHostKey[] = L"Software\\Orvane\\OutlookDouble\\Host";
// Outlook's _Application {00063001-0000-0000-C000-000000000046}.
inline constexpr IID kApplicationIid = {0x00063001, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};

int RunHost(const std::vector<std::wstring>& args);
// The host's explorer for Application.ActiveExplorer (one reference), or nullptr when this process
// is no host or the explorer closed.
IDispatch* HostActiveExplorer();

}  // namespace outlook_double
