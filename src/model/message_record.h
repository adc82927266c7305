#pragma once
// One message as a window hands it on to sending, saving, printing and the mail client.
#include <string>

namespace pagelark {

// Send features of an account (`AccountType` of the service client).
namespace account_feature {
inline constexpr int kReplyToInbox = 1;
inline constexpr int kReplyToMobile = 2;
inline constexpr int kFlash = 4;
inline constexpr int kScheduled = 8;
inline constexpr int kCarbonCopy = 16;
}  // namespace account_feature

// Bits of MessageRecord::Options.
namespace message_option {
inline constexpr int kReplyToInbox = 1;
inline constexpr int kReplyToMobile = 2;
inline constexpr int kFlash = 4;
}  // namespace message_option

struct MessageRecord {
    std::string EntryID;
    std::string To;
    std::string CC;
    std::string Subject;
    std::string Body;       // line breaks as CR LF
    std::string SendTime;   // "%d-%.2d-%.2d %.2d:%.2d" local time, or empty: at once
    int Options = 0;
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
