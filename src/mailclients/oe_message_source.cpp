#include "mailclients/oe_message_source.h"

namespace pagelark {

std::string OutlookExpressMessageSource(const MessageRecord& record, const std::string& senderText) {
    std::string source;
    source.reserve(senderText.size() + record.To.size() + record.CC.size() + record.Subject.size() +
                   record.Body.size() + 32);
    source.append("From: ").append(senderText).append("\n");
    source.append("To: ").append(record.To).append("\n");
    source.append("CC: ").append(record.CC).append("\n");
    source.append("Subject: ").append(record.Subject).append("\n");
    source.append("\n");
    source.append(record.Body);
    return source;
}

}  // namespace pagelark
