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
    const int ids[] = {kInsufficientCredits, kIsEmpty, kNoConnection, kServerDoesNotReply, kWrongData,
                       kUserNameTaken, kEMailAddress, kLandCode, kMobileNumber, kWrongPin, kWrongLogin,
                       kStatusUpdateError, kSmsTransmissionError, kSmsNotSent, kMobileAlreadyRegistered,
                       kMaximumPins, kUserNameEmpty, kPasswordEmpty, kCertificateNotFound, kUnknownErrorBox,
                       kUnknownErrorSuffix, kFieldNames};
    const LANGID languages[] = {1033, 1031, 1036, 1040, 1043, 3082};
    for (LANGID language : languages) {
        for (int id : ids) {
            const std::wstring text = StringIn(language, id);
            EXPECT_FALSE(text.empty()) << "string " << id << " language " << language;
        }
        // The error prefix is cut behind its own colon: the fixed texts hold none.
        EXPECT_EQ(StringIn(language, kStatusUpdateError).find(L':'), std::wstring::npos);
        EXPECT_EQ(StringIn(language, kSmsTransmissionError).find(L':'), std::wstring::npos);
        // Seven field names in every language.
        const std::wstring fields = StringIn(language, kFieldNames);
        EXPECT_EQ(std::count(fields.begin(), fields.end(), L'|'), 6) << language;
    }
    EXPECT_EQ(StringIn(1033, kNoConnection), L"No connection to the internet!");
    EXPECT_EQ(StringIn(1031, kNoConnection), L"Keine Verbindung zum Internet!");
    EXPECT_EQ(StringIn(1033, kIsEmpty), L" is empty.\n");
}

TEST(ServiceTexts, ResourceHeaderMatchesTheCode) {
    EXPECT_EQ(IDS_NO_CONNECTION, service_text::kNoConnection);
    EXPECT_EQ(IDS_SERVER_DOES_NOT_REPLY, service_text::kServerDoesNotReply);
    EXPECT_EQ(IDS_INSUFFICIENT_CREDITS, service_text::kInsufficientCredits);
    EXPECT_EQ(IDS_CERTIFICATE_NOT_FOUND, service_text::kCertificateNotFound);
    EXPECT_EQ(IDS_SERVICE_FIELD_NAMES, service_text::kFieldNames);
    EXPECT_EQ(IDS_EMAIL_ADDRESS, service_text::kEMailAddress);
    EXPECT_EQ(IDS_MOBILE_NUMBER, service_text::kMobileNumber);
}

}  // namespace
}  // namespace pagelark
