// Prints libphonenumber's region metadata as tab-separated lines for gen_country_files.py:
//     region  calling-code  leading-digits  main-country-for-code(0/1)
// Built and run by the generator only; not part of the program.
#include <phonenumbers/phonemetadata.pb.h>

#include <cstdio>

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
        std::printf("%s\t%d\t%s\t%d\n", region.id().c_str(), region.country_code(), region.leading_digits().c_str(),
                    region.main_country_for_code() ? 1 : 0);
    }
    return 0;
}
