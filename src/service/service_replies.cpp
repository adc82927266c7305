#include "service/service_replies.h"

#include <array>

#include "common/text_encoding.h"
#include "service/reply_reader.h"
#include "service/time_text.h"

namespace pagelark {
namespace {

using namespace service_text;

constexpr std::array<const char*, 7> kEnglishFieldNames = {
    "Sales Channel ID", "Mode", "Language Channel ID", "GMT", "recepient", "text", "PIN"};

// Reply values are Windows-1252 bytes; texts inside the program are UTF-8.
std::string ReplyText(std::string_view bytes) { return Cp1252ToUtf8(bytes); }

void ReplaceLineFeeds(std::string& text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\n') out += "; ";
        else out += c;
    }
    text.swap(out);
}

// A status number. A "status:" line cut off before its terminator is read up to the end of the
// reply, so "status: 2" at the very end still counts as a failure.
std::optional<std::int32_t> ReadStatus(std::string_view reply, ValueEnd end) {
    auto found = FindReplyValueAt(reply, "status:", end);
    if (!found) return std::nullopt;
    if (!found->terminated) return ReplyNumber(reply.substr(found->keyPos + 7));
    return ReplyNumber(found->value);
}

// Calls `onCode(code, keyPos)` for every "error:" in the reply, each search continuing behind
// the previous one.
template <typename OnCode>
void ForEachErrorCode(std::string_view reply, OnCode onCode) {
    std::size_t from = 0;
    while (auto found = FindReplyValueAt(reply, "error:", ValueEnd::LineFeed, from)) {
        onCode(ReplyNumber(found->value), found->keyPos);
        from = found->keyPos + 6;
    }
}

}  // namespace

std::string ServiceTexts::FieldName(Field field) const {
    const auto index = static_cast<std::size_t>(field);
    const std::string names = (*this)(IDS_SERVICE_FIELD_NAMES);
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        start = names.find('|', start);
        if (start == std::string::npos) return kEnglishFieldNames[index];
        ++start;
    }
    const std::size_t stop = names.find('|', start);
    std::string name = names.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
    return name.empty() ? kEnglishFieldNames[index] : name;
}

CreditsValue ReadCredits(std::string_view value) {
    CreditsValue credits;
    credits.text = ReplyText(SkipLeadingBlanks(value));
    credits.value = ReplyNumber(credits.text);
    if (credits.value == 0 && (credits.text.empty() || credits.text[0] != '0')) credits.value = -1;
    return credits;
}

std::string ErrorPrefix(const LocalTime& requestStart, std::string_view text) {
    std::string prefix = FormatLogTime(requestStart);
    prefix += ' ';
    prefix += text;
    prefix += ": ";
    return prefix;
}

StatusResult InterpretStatusReply(std::string_view reply, const LocalTime& requestStart, const ServiceTexts& texts) {
    StatusResult result;
    result.replied = true;
    if (auto value = FindReplyValue(reply, "credits:", ValueEnd::CarriageReturn)) result.credits = ReadCredits(*value);
    if (auto value = FindReplyValue(reply, "email:", ValueEnd::CarriageReturn))
        result.email = ReplyText(SkipLeadingBlanks(*value));
    if (auto value = FindReplyValue(reply, "mobile:", ValueEnd::CarriageReturn))
        result.mobile = ReplyText(SkipLeadingBlanks(*value));
    if (auto value = FindReplyValue(reply, "update:", ValueEnd::CarriageReturn))
        result.updateUrl = ReplyText(SkipLeadingBlanks(*value));
    if (auto value = FindReplyValue(reply, "filesize:", ValueEnd::CarriageReturn))
        result.updateSize = ReplyNumber(*value);
    if (auto value = FindReplyValue(reply, "acctyp:", ValueEnd::EndOfReply))
        result.accountType = ReplyBinaryNumber(*value);

    const auto status = ReadStatus(reply, ValueEnd::CarriageReturn);
    if (!status || *status == 0) return result;

    std::string text = ErrorPrefix(requestStart, texts(IDS_STATUS_UPDATE_ERROR));
    const std::size_t prefixLength = text.size();
    bool added = false;
    ForEachErrorCode(reply, [&](int code, std::size_t keyPos) {
        std::string part;
        switch (code) {
            case 1: part = texts(IDS_WRONG_LOGIN); break;
            case 2: part = texts(IDS_USER_NAME_EMPTY); break;
            case 3: part = texts(IDS_PASSWORD_EMPTY); break;
            case 4:
                if (auto message = FindReplyValueAt(reply, "error_msg:", ValueEnd::LineFeed, keyPos)) {
                    std::string_view value = message->value;
                    // The line's CR belongs to its end, not to the message.
                    if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
                    part = ReplyText(value);
                }
                break;
            default: break;
        }
        if (!part.empty()) added = true;
        text += part;
    });
    if (!added) text += texts(IDS_UNKNOWN_ERROR_SUFFIX);
    // The prefix holds no line feed, so its length survives the replacement.
    ReplaceLineFeeds(text);
    text += '\n';
    result.code = -1;
    result.logText = text;
    // Shown without the time and the fixed text, from the blank behind the prefix's colon.
    result.lastError = text.substr(prefixLength - 1);
    return result;
}

RegisterOutcome InterpretRegisterReply(std::string_view reply, const ServiceTexts& texts) {
    RegisterOutcome outcome;
    const auto status = ReadStatus(reply, ValueEnd::LineFeed);
    if (status && (*status == 0 || *status == 1)) {
        outcome.result = *status;
        return outcome;
    }
    std::string& error = outcome.lastError;
    bool appended = false;
    const std::string isEmpty = texts(IDS_IS_EMPTY);
    ForEachErrorCode(reply, [&](int code, std::size_t) {
        if (!error.empty()) {
            error += '\n';
            appended = true;
        }
        std::string part;
        switch (code) {
            case 1: part = texts(IDS_USER_NAME_TAKEN); break;
            case 2: part = texts(IDS_WRONG_DATA); break;
            case 3: part = texts(IDS_USER_NAME_EMPTY); break;
            case 4: part = texts(IDS_LAND_CODE) + isEmpty; break;
            case 5: part = texts(IDS_MOBILE_NUMBER) + isEmpty; break;
            case 6: part = texts(IDS_EMAIL_ADDRESS) + isEmpty; break;
            case 7: part = texts(IDS_PASSWORD_EMPTY); break;
            case 8: part = texts.FieldName(Field::SalesChannelId) + isEmpty; break;
            case 9: part = texts.FieldName(Field::Mode) + isEmpty; break;
            case 10: part = texts.FieldName(Field::LanguageChannelId) + isEmpty; break;
            case 11: part = texts.FieldName(Field::Gmt) + isEmpty; break;
            case 12: part = texts(IDS_MOBILE_ALREADY_REGISTERED); break;
            case 13: part = texts(IDS_MAXIMUM_PINS); break;
            default: break;
        }
        if (!part.empty()) appended = true;
        error += part;
    });
    if (!appended) error = texts(IDS_UNKNOWN_ERROR_BOX);
    outcome.result = -1;
    return outcome;
}

ActivateOutcome InterpretActivateReply(std::string_view reply, const ServiceTexts& texts) {
    ActivateOutcome outcome;
    const auto status = ReadStatus(reply, ValueEnd::LineFeed);
    if (!status || *status == 0) {
        outcome.accepted = true;
        return outcome;
    }
    const std::string isEmpty = texts(IDS_IS_EMPTY);
    ForEachErrorCode(reply, [&](int code, std::size_t) {
        switch (code) {
            case 1: outcome.lastError += texts(IDS_WRONG_PIN); break;
            case 2: outcome.lastError += texts(IDS_USER_NAME_EMPTY); break;
            case 3: outcome.lastError += texts.FieldName(Field::Pin) + isEmpty; break;
            default: break;
        }
    });
    if (outcome.lastError.empty()) outcome.lastError = texts(IDS_UNKNOWN_ERROR_BOX);
    return outcome;
}

SendOutcome InterpretSendReply(std::string_view reply, const LocalTime& requestStart, const ServiceTexts& texts) {
    SendOutcome outcome;
    if (auto value = FindReplyValue(reply, "credits:", ValueEnd::CarriageReturn)) outcome.credits = ReadCredits(*value);
    const auto status = ReadStatus(reply, ValueEnd::LineFeed);
    if (status && *status == 0) {
        outcome.sent = true;
        return outcome;
    }
    std::string text = ErrorPrefix(requestStart, texts(IDS_SMS_TRANSMISSION_ERROR));
    bool added = false;
    const std::string isEmpty = texts(IDS_IS_EMPTY);
    ForEachErrorCode(reply, [&](int code, std::size_t) {
        std::string part;
        switch (code) {
            case 1: part = texts(IDS_WRONG_LOGIN); break;
            case 2: part = texts(IDS_USER_NAME_EMPTY); break;
            case 3: part = texts(IDS_PASSWORD_EMPTY); break;
            case 4: part = texts.FieldName(Field::Recipient) + isEmpty; break;
            case 5: part = texts.FieldName(Field::Text) + isEmpty; break;
            case 6: part = texts.FieldName(Field::Gmt) + isEmpty; break;
            case 7:
                part = texts(IDS_INSUFFICIENT_CREDITS);
                outcome.insufficientCredits = true;
                break;
            case 8: part = texts(IDS_SMS_NOT_SENT); break;
            default: break;
        }
        if (!part.empty()) added = true;
        text += part;
    });
    if (!added) text += texts(IDS_UNKNOWN_ERROR_SUFFIX);
    ReplaceLineFeeds(text);
    text += '\n';
    outcome.lastError = std::move(text);
    return outcome;
}

}  // namespace pagelark
