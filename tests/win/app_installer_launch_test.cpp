// The copy of the program that starts the installer acts only on its own command line, and a
// malformed one starts nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/installer_launch_win.h"

using pagelark::RunInstallerAfterParent;

TEST(InstallerLaunch, EveryOtherCommandLineIsLeftToTheProgram) {
    for (const wchar_t* line : {L"", L"Pagelark.exe", L"\"C:\\Program Files\\Pagelark\\Pagelark.exe\" /auto",
                                L"Pagelark.exe /install-afterwards 12 /i x", L"\"C:\\a b\\Pagelark.exe\""})
        EXPECT_FALSE(RunInstallerAfterParent(line).has_value()) << line;
}

TEST(InstallerLaunch, AMalformedOrUnusableRequestStartsNothing) {
    for (const wchar_t* line : {L"Pagelark.exe /install-after ", L"Pagelark.exe /install-after abc /i x.msi",
                                L"\"C:\\a b\\Pagelark.exe\" /install-after 12", L"Pagelark.exe /install-after 999999 /i x.msi"})
        EXPECT_EQ(RunInstallerAfterParent(line), 2) << line;
}
