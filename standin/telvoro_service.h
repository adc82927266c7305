#pragma once
// The four requests of the Telvoro service: account status, registration, activation with a PIN
// and sending. Each takes the request's query and gives the reply text ("key: value" lines ended
// by CR LF) that the real service would give.
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "query.h"
#include "store.h"

namespace pagelark::standin {

// The reply text stays within what the client reads in one go.
inline constexpr size_t kMaxReplyBytes = 255;
// A PIN can be requested this often per account; the next request is refused with code 13.
inline constexpr int kMaxPinRequests = 3;
// Messages longer than this many parts are refused, as the client never sends them.
inline constexpr int kMaxParts = 10;
inline constexpr size_t kMaxRecipients = 100;
// The recipient prefix of the demo numbers that answer with an error code: +999000<code>.
inline constexpr std::string_view kMagicRecipientPrefix = "999000";

// "+491701234567" from any of "+49 170 1234567", " 491701234567" (a '+' read as blank), "0049170..".
std::optional<std::string> NormalizeInternational(std::string_view text);
// The account's number from the registration's country code and national number.
std::optional<std::string> JoinAccountNumber(std::string_view country_code, std::string_view mobile_no);
// Seconds since 1970 (UTC) for "2026-12-06 19:20" at the given offset in hours; nullopt when malformed.
std::optional<long long> DueTime(std::string_view send_time, long long gmt_hours);

class TelvoroService {
public:
    using PinGenerator = std::function<std::string()>;
    explicit TelvoroService(Store& store, PinGenerator pins = {});

    std::string Status(const Query& q);
    std::string Register(const Query& q);
    std::string Activate(const Query& q);
    std::string Sms(const Query& q, const std::string& raw_query);

private:
    std::string NewPin(Account& account);
    std::string StatusReply(const Account& account);

    Store& store_;
    PinGenerator pins_;
    // Registration and activation read an account and then write it: one at a time.
    std::mutex accounts_mutex_;
};

// The random six-digit PINs of the running service.
std::string RandomPin();

}  // namespace pagelark::standin
