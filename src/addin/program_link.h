#pragma once
// What the add-in says to the program: the open request (start the program first when it does
// not run) and the hand-over of a stored item.
#include <windows.h>

#include <string>

namespace quillbridge {

// The program's hidden main window, or nullptr when the program does not run.
HWND FindProgramWindow() noexcept;

// Opens a new message window for Outlook in the running program; starts Pagelark.exe from the
// add-in's own folder when it does not run. Returns whether the request reached the program.
bool RequestNewMessage(const std::wstring& modulePath);

// Offers the item to the running program; true when the program took it over (then Outlook must
// not open its own window). An id that the message cannot carry is not offered.
bool HandOverItem(const std::wstring& entryId);

// "...\Quillbridge.dll" -> "...\Pagelark.exe"; empty when the file name is not Quillbridge.dll.
std::wstring ProgramPathBeside(const std::wstring& modulePath);

}  // namespace quillbridge
