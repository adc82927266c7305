#pragma once
// String numbers of the service client's texts (resources/texts/service.txt).
namespace pagelark::service_text {

inline constexpr int kInsufficientCredits = 16777;     // "You dont have sufficient SMS credits."
inline constexpr int kIsEmpty = 16785;                 // " is empty.\n"
inline constexpr int kNoConnection = 16786;            // "No connection to the internet!"
inline constexpr int kServerDoesNotReply = 16787;      // "Server does not reply."
inline constexpr int kWrongData = 16788;
inline constexpr int kUserNameTaken = 16789;
inline constexpr int kEMailAddress = 16792;
inline constexpr int kLandCode = 16793;
inline constexpr int kMobileNumber = 16794;
inline constexpr int kWrongPin = 16795;
inline constexpr int kWrongLogin = 16796;
inline constexpr int kStatusUpdateError = 16797;      // "Error during status update!"
inline constexpr int kSmsTransmissionError = 16798;   // "Error during SMS transmission!"
inline constexpr int kSmsNotSent = 16799;
inline constexpr int kMobileAlreadyRegistered = 16801;
inline constexpr int kMaximumPins = 16802;
inline constexpr int kUserNameEmpty = 16838;          // "User name is empty.\n"
inline constexpr int kPasswordEmpty = 16839;          // "Password is empty.\n"
inline constexpr int kCertificateNotFound = 16840;    // "Security certificate not found"
inline constexpr int kUnknownErrorBox = 16841;        // "Unknown error!"
inline constexpr int kUnknownErrorSuffix = 16842;     // "unknown error"
// The service's field names, '|'-separated, in this order (see FieldName).
inline constexpr int kFieldNames = 16843;

enum class Field : int { SalesChannelId, Mode, LanguageChannelId, Gmt, Recipient, Text, Pin };

}  // namespace pagelark::service_text
