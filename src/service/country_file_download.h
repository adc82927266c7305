#pragma once
// Fetching the active language's country file from the service's update location and putting
// it into the program's Data folder, where the country list loader finds it.
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

struct FetchedFile {
    int httpStatus = 0;   // 200 when the server delivered the file
    std::string body;
};

// Reaches the message servers: the primary, then the secondary when the primary does not answer.
class CountryFileSource {
public:
    virtual ~CountryFileSource() = default;
    // nullopt when neither server answered.
    virtual std::optional<FetchedFile> Fetch(const std::string& path) = 0;
};

// True when `bytes` read as a country file: at least one "name;code" row whose code (blanks
// aside) is digits only, and no line that looks like markup (an HTML page answered with 200).
bool LooksLikeCountryFile(std::string_view bytes);

// "/pagelark/updates/<countryFile>"
std::string CountryFileRequestPath(std::string_view countryFile);

// Fetches `countryFile`, keeps the download in `downloadFolder` and, when it holds at least one
// byte, copies it over "<programDir>\Data\<countryFile>". True when the file could be stored.
// An error answer of the server (404, 500, ...) or a body that does not read as a country file
// (LooksLikeCountryFile) is not written anywhere, so a broken update location never replaces a
// good list.
bool DownloadCountryFile(CountryFileSource& source, std::string_view countryFile, const std::string& downloadFolder,
                         const std::string& programDir);

}  // namespace pagelark
