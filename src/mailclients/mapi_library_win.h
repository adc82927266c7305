#pragma once
// The Extended MAPI library the program talks to, and starting MAPI in it.
//
// Outlook names its own MAPI library under HKLM\SOFTWARE\Clients\Mail\Microsoft Outlook
// "DLLPathEx"; without it the system's MAPI32.dll is used, with the running program registered
// under MSMapiApps so that the system stub sends it to Outlook. The utility functions (row sets,
// one-property reads and writes, the allocator) always come from MAPI32.dll, imported by ordinal.
#include <windows.h>

#include <mapix.h>

#include <string>

namespace pagelark {

struct MapiFunctions {
    LPMAPIINITIALIZE Initialize = nullptr;
    LPMAPIADMINPROFILES AdminProfiles = nullptr;
    LPMAPILOGONEX LogonEx = nullptr;
    LPMAPIUNINITIALIZE Uninitialize = nullptr;
    LPMAPIFREEBUFFER FreeBuffer = nullptr;
};

// The functions MAPI32.dll exports (its import library binds them by ordinal).
MapiFunctions StaticMapiFunctions();

// The library chosen at start-up; unloaded with its owner.
class MapiLibrary {
public:
    MapiLibrary() = default;
    ~MapiLibrary();
    MapiLibrary(const MapiLibrary&) = delete;
    MapiLibrary& operator=(const MapiLibrary&) = delete;

    // Chooses the library and its functions: 0 on success (the static imports count as success),
    // ERROR_DLL_INIT_FAILED (1114) when the named library does not load, 1 when it lacks a function.
    // `executableName` is the running program's file name for MSMapiApps.
    int Find(const std::wstring& executableName);
    // MAPIInitialize with multithreaded notifications and without COM initialisation, retried
    // without MAPI_NO_COINIT and then without a parameter block.
    HRESULT Initialize();
    const MapiFunctions& functions() const { return functions_; }
    const std::wstring& loadedPath() const { return loadedPath_; }

private:
    HMODULE module_ = nullptr;
    MapiFunctions functions_;
    std::wstring loadedPath_;
};

// The file name of a path: the text after its last backslash, slash or colon.
std::wstring FileNameOf(const std::wstring& path);

}  // namespace pagelark
