#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/files.h"
#include "service/country_file_download.h"

namespace pagelark {
namespace {

class FakeSource : public CountryFileSource {
public:
    std::optional<FetchedFile> answer;
    std::vector<std::string> paths;
    std::optional<FetchedFile> Fetch(const std::string& path) override {
        paths.push_back(path);
        return answer;
    }
};

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class CountryFileDownload : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("pagelark_cfd_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "prog" / "Data");
        std::ofstream(root / "prog" / "Data" / "land_codes_de.txt", std::ios::binary) << "old";
        downloads = (root / "appdata" / "Updates").string();
        program = (root / "prog").string();
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    std::string DataFile() { return ReadAll(root / "prog" / "Data" / "land_codes_de.txt"); }

    std::filesystem::path root;
    std::string downloads, program;
    FakeSource source;
};

TEST_F(CountryFileDownload, StoresTheFileAndReplacesTheDataCopy) {
    source.answer = FetchedFile{200, "Deutschland;49\r\n"};
    EXPECT_TRUE(DownloadCountryFile(source, "land_codes_de.txt", downloads, program));
    ASSERT_EQ(source.paths, std::vector<std::string>{"/pagelark/updates/land_codes_de.txt"});
    EXPECT_EQ(DataFile(), "Deutschland;49\r\n");
    EXPECT_EQ(ReadAll(std::filesystem::path(downloads) / "land_codes_de.txt"), "Deutschland;49\r\n");
}

TEST_F(CountryFileDownload, NoServerIsASilentFailure) {
    EXPECT_FALSE(DownloadCountryFile(source, "land_codes_de.txt", downloads, program));
    EXPECT_EQ(DataFile(), "old");
}

TEST_F(CountryFileDownload, AnErrorPageNeverReplacesTheList) {
    source.answer = FetchedFile{404, "<html>Not Found</html>"};
    EXPECT_FALSE(DownloadCountryFile(source, "land_codes_de.txt", downloads, program));
    EXPECT_EQ(DataFile(), "old");
}

TEST_F(CountryFileDownload, AWebPageAnsweredWithSuccessNeverReplacesTheList) {
    for (const char* page : {"<!DOCTYPE html>\r\n<html><body>Moved</body></html>\r\n",
                             "<html>\nGermany;49\n</html>\n", "Service unavailable\r\n", "Germany;+49\r\nx;4 9a\r\n"}) {
        source.answer = FetchedFile{200, page};
        EXPECT_FALSE(DownloadCountryFile(source, "land_codes_de.txt", downloads, program)) << page;
        EXPECT_EQ(DataFile(), "old") << page;
    }
}

TEST_F(CountryFileDownload, ASmallWellFormedFileStillReplacesTheList) {
    source.answer = FetchedFile{200, "Malta;356\nbad line\r\n"};
    EXPECT_TRUE(DownloadCountryFile(source, "land_codes_de.txt", downloads, program));
    EXPECT_EQ(DataFile(), "Malta;356\nbad line\r\n");
}

TEST(CountryFileContent, RowsAndMarkup) {
    EXPECT_TRUE(LooksLikeCountryFile("Deutschland;49\r\n"));
    EXPECT_TRUE(LooksLikeCountryFile("Cayman Islands; 1345"));
    EXPECT_FALSE(LooksLikeCountryFile(""));
    EXPECT_FALSE(LooksLikeCountryFile(";49\r\n"));
    EXPECT_FALSE(LooksLikeCountryFile("Germany;\r\n"));
    EXPECT_FALSE(LooksLikeCountryFile("Germany;49\r\n<p>\r\n"));
}

TEST_F(CountryFileDownload, AnEmptyAnswerKeepsTheDataCopy) {
    source.answer = FetchedFile{200, ""};
    EXPECT_TRUE(DownloadCountryFile(source, "land_codes_de.txt", downloads, program));
    EXPECT_EQ(DataFile(), "old");
}

TEST_F(CountryFileDownload, RefusesANameWithAPath) {
    source.answer = FetchedFile{200, "x"};
    EXPECT_FALSE(DownloadCountryFile(source, "../evil.txt", downloads, program));
    EXPECT_FALSE(DownloadCountryFile(source, "", downloads, program));
    EXPECT_TRUE(source.paths.empty());
}

}  // namespace
}  // namespace pagelark
