#pragma once
// Interpretation of the four replies: pure functions from the reply bytes (and the request's
// start time, for the error prefix) to a complete result. No member, setting or file is touched,
// so the status part can run on a worker thread and be applied later on the UI thread.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "service/service_ports.h"
#include "service/service_text_ids.h"

namespace pagelark {

// The texts of one language.
class ServiceTexts {
public:
    ServiceTexts(const TextSource& source, std::uint16_t languageId) : source_(source), languageId_(languageId) {}
    std::string operator()(int id) const { return source_.Text(languageId_, id); }
    std::string FieldName(service_text::Field field) const;

private:
    const TextSource& source_;
    std::uint16_t languageId_;
};

struct CreditsValue {
    std::string text;          // as sent, leading blanks removed
    std::int32_t value = 0;    // -1 when the text is not a number
};
CreditsValue ReadCredits(std::string_view value);

// "<time> <text>: ", the start of a service error text.
std::string ErrorPrefix(const LocalTime& requestStart, std::string_view text);

struct StatusResult {
    int code = 0;                  // 0 success, 1 no internet handle, 2 no server answered, -1 service error
    bool replied = false;          // a reply arrived (the update and account-type members are then reset)
    std::string lastError;         // empty on success
    std::string logText;           // what went into the request log, empty when nothing
    std::optional<CreditsValue> credits;
    std::optional<std::string> email;    // leading blanks removed
    std::optional<std::string> mobile;   // leading blanks removed, for SplitAccountNumber
    std::string updateUrl;
    std::int32_t updateSize = 0;
    std::int32_t accountType = 0;
};
// `reply` is the visible reply (VisibleReply).
StatusResult InterpretStatusReply(std::string_view reply, const LocalTime& requestStart, const ServiceTexts& texts);

struct RegisterOutcome {
    int result = -1;               // the service's status 0 or 1, or -1
    std::string lastError;         // the error box's text when result is -1
};
RegisterOutcome InterpretRegisterReply(std::string_view reply, const ServiceTexts& texts);

struct ActivateOutcome {
    bool accepted = false;
    std::string lastError;         // the error box's text when not accepted
};
ActivateOutcome InterpretActivateReply(std::string_view reply, const ServiceTexts& texts);

struct SendOutcome {
    bool sent = false;
    std::string lastError;         // keeps the time and the prefix; ends in a line feed
    std::optional<CreditsValue> credits;
    bool insufficientCredits = false;   // code 7: a warning box at once
};
SendOutcome InterpretSendReply(std::string_view reply, const LocalTime& requestStart, const ServiceTexts& texts);

}  // namespace pagelark
