// Prints libphonenumber's region metadata as tab-separated lines for gen_country_files.py:
//     region  calling-code  leading-digits  main-country-for-code(0/1)  mobile-lengths
// mobile-lengths: the possible lengths of a mobile number's national significant number, comma
// separated; the region's general lengths where the metadata gives mobile numbers none of their own.
// Built and run by the generator only; not part of the program.
#include <phonenumbers/phonemetadata.pb.h>

#include <cstdio>
#include <string>

namespace i18n::phonenumbers {
int metadata_size();
const void* metadata_get();
}  // namespace i18n::phonenumbers

int main() {
    i18n::phonenumbers::PhoneMetadataCollection collection;
    if (!collection.ParseFromArray(i18n::phonenumbers::metadata_get(), i18n::phonenumbers::metadata_size())) {
        std::fprintf(stderr, "cannot read libphonenumber's metadata\n");
        return 1;
    }
    for (const auto& region : collection.metadata()) {
        // An empty list means "as the general description"; -1 means "no such numbers".
        const auto& mobile = region.mobile().possible_length();
        const bool ownMobile = !mobile.empty() && mobile.Get(0) != -1;
        const auto& lengths = ownMobile ? mobile : region.general_desc().possible_length();
        std::string list;
        for (int length : lengths) {
            if (length < 0) continue;
            if (!list.empty()) list += ',';
            list += std::to_string(length);
        }
        std::printf("%s\t%d\t%s\t%d\t%s\n", region.id().c_str(), region.country_code(),
                    region.leading_digits().c_str(), region.main_country_for_code() ? 1 : 0, list.c_str());
    }
    return 0;
}
