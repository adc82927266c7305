#pragma once
// One message as a window hands it on to sending, saving, printing and the mail client.
#include <string>

#include "model/send_options.h"

namespace pagelark {

struct MessageRecord {
    std::string EntryID;
    std::string To;
    std::string CC;
    std::string Subject;
    std::string Body;       // line breaks as CR LF
    std::string SendTime;   // "%d-%.2d-%.2d %.2d:%.2d" local time, or empty: at once
    int Options = 0;        // send_option bits
    int Sent = 0;           // item fields only: the item was already sent
};

struct LocalDate {
    int year = 0, month = 0, day = 0;
};
struct LocalClockTime {
    int hour = 0, minute = 0;
};

// What the window's controls hold when a message is gathered.
struct MessageFields {
    std::string to;
    std::string cc;
    std::string body;
    bool sendOn = false;
    LocalDate date;
    LocalClockTime time;
    bool replyToInbox = false;
    bool replyToMobile = false;
    bool flash = false;
};

std::string FormatSendTime(const LocalDate& date, const LocalClockTime& time);

// Takes what the account allows; `subject` is the "SMS-Message" text. EntryID stays empty.
MessageRecord GatherMessage(const MessageFields& fields, int accountType, const std::string& subject);

// Nothing to store: To, CC and Body are all empty.
bool HasNoData(const MessageRecord& record);

}  // namespace pagelark
