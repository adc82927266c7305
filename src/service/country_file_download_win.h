#pragma once
// The country-file download over WinInet: the message servers' update location, with the
// program's own proxy settings and the fallback to the secondary server.
#include <string>

#include "model/settings.h"
#include "service/country_file_download.h"

namespace pagelark {

class WinInetCountryFileSource : public CountryFileSource {
public:
    WinInetCountryFileSource(std::string primaryServer, std::string secondaryServer, const Settings& settings)
        : primary_(std::move(primaryServer)), secondary_(std::move(secondaryServer)), settings_(settings) {}
    std::optional<FetchedFile> Fetch(const std::string& path) override;

private:
    std::optional<FetchedFile> FetchFrom(const std::string& host, const std::string& path);
    std::string primary_;
    std::string secondary_;
    const Settings& settings_;
};

// "%APPDATA%\Pagelark\Updates", or "<programDir>\Updates" when the variable cannot be expanded.
std::string UpdateDownloadFolder(const std::string& programDir);

}  // namespace pagelark
