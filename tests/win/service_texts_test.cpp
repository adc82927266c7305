// The service's texts exist in all six languages in the program's resources, under the numbers
// the code uses.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "service/service_text_ids.h"
#include "ids_service.h"

namespace pagelark {
namespace {

// A string-table entry in exactly one language, read from its block.
std::wstring StringIn(LANGID language, int id) {
    const HRSRC found = FindResourceExW(GetModuleHandleW(nullptr), reinterpret_cast<LPCWSTR>(RT_STRING),
                                        MAKEINTRESOURCEW(id / 16 + 1), language);
    if (!found) return {};
    const auto* entry = static_cast<const WCHAR*>(LockResource(LoadResource(GetModuleHandleW(nullptr), found)));
    for (int i = 0; i < id % 16; ++i) entry += 1 + *entry;
    return std::wstring(entry + 1, *entry);
}

TEST(ServiceTexts, EveryTextInEveryLanguage) {
    using namespace service_text;
    const int ids[] = {IDS_INSUFFICIENT_CREDITS, IDS_IS_EMPTY, IDS_NO_CONNECTION, IDS_SERVER_DOES_NOT_REPLY, IDS_WRONG_DATA,
                       IDS_USER_NAME_TAKEN, IDS_EMAIL_ADDRESS, IDS_LAND_CODE, IDS_MOBILE_NUMBER, IDS_WRONG_PIN, IDS_WRONG_LOGIN,
                       IDS_STATUS_UPDATE_ERROR, IDS_SMS_TRANSMISSION_ERROR, IDS_SMS_NOT_SENT, IDS_MOBILE_ALREADY_REGISTERED,
                       IDS_MAXIMUM_PINS, IDS_USER_NAME_EMPTY, IDS_PASSWORD_EMPTY, IDS_CERTIFICATE_NOT_FOUND, IDS_UNKNOWN_ERROR_BOX,
                       IDS_UNKNOWN_ERROR_SUFFIX, IDS_SERVICE_FIELD_NAMES};
    const LANGID languages[] = {1033, 1031, 1036, 1040, 1043, 3082};
    for (LANGID language : languages) {
        for (int id : ids) {
            const std::wstring text = StringIn(language, id);
            EXPECT_FALSE(text.empty()) << "string " << id << " language " << language;
        }
        // The error prefix is cut behind its own colon: the fixed texts hold none.
        EXPECT_EQ(StringIn(language, IDS_STATUS_UPDATE_ERROR).find(L':'), std::wstring::npos);
        EXPECT_EQ(StringIn(language, IDS_SMS_TRANSMISSION_ERROR).find(L':'), std::wstring::npos);
        // Seven field names in every language.
        const std::wstring fields = StringIn(language, IDS_SERVICE_FIELD_NAMES);
        EXPECT_EQ(std::count(fields.begin(), fields.end(), L'|'), 6) << language;
    }
    EXPECT_EQ(StringIn(1033, IDS_NO_CONNECTION), L"No connection to the internet!");
    EXPECT_EQ(StringIn(1031, IDS_NO_CONNECTION), L"Keine Verbindung zum Internet!");
    EXPECT_EQ(StringIn(1033, IDS_IS_EMPTY), L" is empty.\n");
}

TEST(ServiceTexts, ResourceHeaderMatchesTheCode) {
    EXPECT_EQ(IDS_NO_CONNECTION, IDS_NO_CONNECTION);
    EXPECT_EQ(IDS_SERVER_DOES_NOT_REPLY, IDS_SERVER_DOES_NOT_REPLY);
    EXPECT_EQ(IDS_INSUFFICIENT_CREDITS, IDS_INSUFFICIENT_CREDITS);
    EXPECT_EQ(IDS_CERTIFICATE_NOT_FOUND, IDS_CERTIFICATE_NOT_FOUND);
    EXPECT_EQ(IDS_SERVICE_FIELD_NAMES, IDS_SERVICE_FIELD_NAMES);
    EXPECT_EQ(IDS_EMAIL_ADDRESS, IDS_EMAIL_ADDRESS);
    EXPECT_EQ(IDS_MOBILE_NUMBER, IDS_MOBILE_NUMBER);
}

}  // namespace
}  // namespace pagelark
