#include "model/message_record.h"

#include <cstdio>

namespace pagelark {

std::string FormatSendTime(const LocalDate& date, const LocalClockTime& time) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d-%.2d-%.2d %.2d:%.2d", date.year, date.month, date.day, time.hour,
                  time.minute);
    return buffer;
}

MessageRecord GatherMessage(const MessageFields& fields, int accountType, const std::string& subject) {
    using namespace account_feature;
    MessageRecord record;
    record.Subject = subject;
    record.To = fields.to;
    if (accountType & kCarbonCopy) record.CC = fields.cc;
    record.Body = fields.body;
    if (fields.sendOn && (accountType & kScheduled)) record.SendTime = FormatSendTime(fields.date, fields.time);
    if ((accountType & kReplyToInbox) && fields.replyToInbox) record.Options |= send_option::kReplyToInbox;
    if ((accountType & kReplyToMobile) && fields.replyToMobile) record.Options |= send_option::kReplyToMobile;
    if ((accountType & kFlash) && fields.flash) record.Options |= send_option::kFlash;
    return record;
}

bool HasNoData(const MessageRecord& record) {
    return record.To.empty() && record.CC.empty() && record.Body.empty();
}

}  // namespace pagelark
