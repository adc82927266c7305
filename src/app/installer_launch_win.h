#pragma once
// Windows Installer cannot replace Pagelark.exe while the program runs: it would leave the new
// file for the next restart of Windows and report success. So the installer is started by a copy
// of the program, outside the program folder, that waits for this process to end first.
//
//   StartInstallerAfterExit(dayFolder, L"/i \"...\\Pagelark.msi\" ...");   // then quit
//   ...
//   if (auto code = RunInstallerAfterParent(GetCommandLineW())) return *code;   // in wWinMain
#include <windows.h>

#include <optional>
#include <string>

namespace pagelark {

// Copies the program into `folder` and starts the copy, which runs msiexec with `msiexecParameters`
// once this process has ended. False when that could not be arranged.
bool StartInstallerAfterExit(const std::wstring& folder, const std::wstring& msiexecParameters);

// The copy's work, when `commandLine` asks for it: waits for the program (at most a minute: a
// program that refused to close must not keep the installer from the user), then starts msiexec.
// Nothing for any other command line; otherwise the exit code.
std::optional<int> RunInstallerAfterParent(const std::wstring& commandLine);

}  // namespace pagelark
