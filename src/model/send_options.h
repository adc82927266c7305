#pragma once
// The features an account has (`AccountType` of the service client). Its first three bits are
// also the send options a message carries (MessageRecord::Options) and SendSms passes on.
namespace pagelark {

namespace send_option {
inline constexpr int kReplyToInbox = 1;
inline constexpr int kReplyToMobile = 2;
inline constexpr int kFlash = 4;
}  // namespace send_option

namespace account_feature {
using send_option::kFlash;
using send_option::kReplyToInbox;
using send_option::kReplyToMobile;
inline constexpr int kScheduled = 8;
inline constexpr int kCarbonCopy = 16;
}  // namespace account_feature

}  // namespace pagelark
