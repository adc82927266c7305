#pragma once
// The message source under which a sent SMS is filed in Outlook Express: header lines each ended
// by a single line feed, an empty line, then the body as the window gave it.
#include <string>

#include "model/message_record.h"

namespace pagelark {

// "From: <sender>\nTo: <To>\nCC: <CC>\nSubject: <Subject>\n\n<Body>". An empty CC keeps its
// "CC: " line; the body is not touched (CR LF line breaks stay).
std::string OutlookExpressMessageSource(const MessageRecord& record, const std::string& senderText);

}  // namespace pagelark
