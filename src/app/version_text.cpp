#include "app/version_text.h"

#include <algorithm>

namespace pagelark {

std::string VersionTextFromFileVersion(std::string_view fileVersion) {
    std::string text(fileVersion);
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

}  // namespace pagelark
