#include "addin/program_link.h"

#include <shellapi.h>

#include <vector>

#include "common/window_protocol.h"

namespace quillbridge {
namespace {

namespace protocol = pagelark::protocol;

// The program answers at once; the limit only keeps Outlook alive should the program hang
// (a program that stopped answering is given up at once).
constexpr UINT kAnswerTimeout = 30000;
// How long a click waits for the started program before it asks once more.
constexpr DWORD kStartWait = 100;
constexpr wchar_t kAddinFileName[] = L"Quillbridge.dll";
constexpr wchar_t kProgramFileName[] = L"Pagelark.exe";

bool SendOpenRequest(HWND program) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(program, protocol::kOpenRequestMessage, protocol::kOpenRequestOutlook, 0,
                               SMTO_NORMAL | SMTO_ABORTIFHUNG, kAnswerTimeout, &answer) != 0;
}

}  // namespace

HWND FindProgramWindow() noexcept { return FindWindowW(nullptr, protocol::kMainWindowTitle); }

std::wstring ProgramPathBeside(const std::wstring& modulePath) {
    const size_t slash = modulePath.find_last_of(L"\\/");
    const size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    // Paths are compared as Windows compares file names: without regard to case.
    if (CompareStringOrdinal(modulePath.c_str() + nameStart, -1, kAddinFileName, -1, TRUE) != CSTR_EQUAL) return {};
    return modulePath.substr(0, nameStart) + kProgramFileName;
}

bool RequestNewMessage(const std::wstring& modulePath) {
    if (HWND program = FindProgramWindow()) return SendOpenRequest(program);
    const std::wstring programPath = ProgramPathBeside(modulePath);
    if (programPath.empty()) return false;
    const std::wstring folder = programPath.substr(0, programPath.find_last_of(L"\\/"));
    SHELLEXECUTEINFOW start{};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    start.lpVerb = L"open";
    start.lpFile = programPath.c_str();
    start.lpDirectory = folder.c_str();
    start.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&start)) return false;
    if (start.hProcess) {
        WaitForSingleObject(start.hProcess, kStartWait);
        CloseHandle(start.hProcess);
    }
    // Not there yet: the program starts as usual, without a message window.
    if (HWND program = FindProgramWindow()) return SendOpenRequest(program);
    return false;
}

bool HandOverItem(const std::wstring& entryId) {
    if (!protocol::ItemCopyFits(entryId.size())) return false;
    std::vector<char> block(protocol::ItemCopyBlockSize(entryId.size()), '\0');
    for (size_t i = 0; i < entryId.size(); ++i) {
        // Entry ids are hexadecimal text; anything else is no id the program could open.
        if (entryId[i] == 0 || entryId[i] > 0x7F) return false;
        block[i] = static_cast<char>(entryId[i]);
    }
    HWND program = FindProgramWindow();
    if (!program) return false;
    COPYDATASTRUCT data{protocol::kItemCopyKind, static_cast<DWORD>(block.size()), block.data()};
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(program, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             kAnswerTimeout, &answer))
        return false;
    return answer != 0;
}

}  // namespace quillbridge
