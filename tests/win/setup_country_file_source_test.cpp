// The country-file download's WinInet side against the stand-in's update location.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "model/settings.h"
#include "service/country_file_download_win.h"

using namespace pagelark;

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

TEST(SetupCountryFileSource, AnswersWithTheServersStatusAndFallsBackWhenThePrimaryIsDown) {
    const std::string primary = Env("STANDIN_PRIMARY");
    if (primary.empty()) GTEST_SKIP() << "STANDIN_PRIMARY not set";
    Settings settings;
    // An unknown file: the server answers, with an error status that must not become a country list.
    WinInetCountryFileSource source(primary, Env("STANDIN_SECONDARY"), settings);
    const std::optional<FetchedFile> missing = source.Fetch("/pagelark/updates/no_such_file.txt");
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->httpStatus, 404);

    // Nothing listens on the first host: the second one answers.
    WinInetCountryFileSource fallback("localhost:1", primary, settings);
    const std::optional<FetchedFile> viaSecondary = fallback.Fetch("/pagelark/updates/no_such_file.txt");
    ASSERT_TRUE(viaSecondary.has_value());
    EXPECT_EQ(viaSecondary->httpStatus, 404);

    WinInetCountryFileSource nowhere("localhost:1", "localhost:2", settings);
    EXPECT_FALSE(nowhere.Fetch("/pagelark/updates/no_such_file.txt").has_value());
}

TEST(SetupCountryFileSource, DownloadFolderIsUnderApplicationData) {
    const std::string folder = UpdateDownloadFolder("C:\\Program Files\\Pagelark");
    EXPECT_NE(folder.find("\\Pagelark\\Updates"), std::string::npos) << folder;
    EXPECT_EQ(folder.find('%'), std::string::npos);
}

}  // namespace
