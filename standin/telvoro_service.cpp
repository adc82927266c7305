#include "telvoro_service.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <random>
#include <vector>

#include "common/text_encoding.h"
#include "sms_parts.h"

namespace pagelark::standin {
namespace {

// New accounts start with a few credits and every feature, so a newcomer can try sending at once.
constexpr long long kWelcomeCredits = 10;
constexpr const char* kNewAccountType = "11111";
constexpr size_t kMaxNameLength = 32;
constexpr size_t kMaxEmailLength = 64;

class Reply {
public:
    Reply& Line(std::string_view key, std::string_view value) {
        text_.append(key).append(": ").append(value).append("\r\n");
        return *this;
    }
    Reply& Line(std::string_view key, long long value) { return Line(key, std::to_string(value)); }
    Reply& Errors(const std::vector<int>& codes) {
        for (int code : codes) Line("error", code);
        return *this;
    }
    std::string Text() const { return text_; }

private:
    std::string text_;
};

std::string Failure(int status, const std::vector<int>& codes) {
    return Reply().Line("status", status).Errors(codes).Text();
}

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Removes the separators people type inside numbers.
std::string StripSeparators(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '-' && c != '/' && c != '(' && c != ')' && c != '.') out += c;
    return out;
}

// Query values are Windows-1252 bytes; the state keeps UTF-8.
std::string Text(const Query& q, const std::string& key) {
    return Cp1252ToUtf8(Trim(q.Get(key)));
}

bool PlausibleEmail(const std::string& email) {
    const size_t at = email.find('@');
    return email.size() <= kMaxEmailLength && at != std::string::npos && at > 0 && at + 1 < email.size() &&
           email.find_first_of(" \t\r\n,;<>\"") == std::string::npos && email.find('@', at + 1) == std::string::npos;
}

bool PasswordMatches(const Account& account, const std::string& password) {
    return account.password == password;
}

std::vector<std::string> SplitRecipients(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(",;", start);
        if (end == std::string::npos) end = text.size();
        std::string entry = Trim(std::string_view(text).substr(start, end - start));
        if (!entry.empty()) out.push_back(std::move(entry));
        start = end + 1;
    }
    return out;
}

}  // namespace

std::optional<std::string> NormalizeInternational(std::string_view text) {
    std::string digits = StripSeparators(text);
    if (!digits.empty() && digits[0] == '+') digits.erase(0, 1);
    else if (digits.rfind("00", 0) == 0) digits.erase(0, 2);
    // What is left must start with a country code: a national number (leading 0) is refused.
    if (!AllDigits(digits) || digits.size() < 6 || digits.size() > 15 || digits[0] == '0') return std::nullopt;
    return "+" + digits;
}

std::optional<std::string> JoinAccountNumber(std::string_view country_code, std::string_view mobile_no) {
    std::string code = StripSeparators(country_code);
    if (!code.empty() && code[0] == '+') code.erase(0, 1);
    else if (code.rfind("00", 0) == 0) code.erase(0, 2);
    std::string national = StripSeparators(mobile_no);
    while (!national.empty() && national[0] == '0') national.erase(0, 1);   // trunk prefix
    if (!AllDigits(code) || code.size() > 4 || code[0] == '0' || !AllDigits(national)) return std::nullopt;
    return NormalizeInternational("+" + code + national);
}

std::optional<long long> DueTime(std::string_view send_time, long long gmt_hours) {
    const std::string text(Trim(send_time));
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, consumed = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d%n", &y, &mo, &d, &h, &mi, &consumed) != 5 ||
        static_cast<size_t>(consumed) != text.size())
        return std::nullopt;
    if (y < 1970 || y > 2100 || mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59)
        return std::nullopt;
    if (gmt_hours < -14 || gmt_hours > 14) return std::nullopt;
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    const long long local = timegm(&tm);
    std::tm check{};
    const std::time_t t = static_cast<std::time_t>(local);
    gmtime_r(&t, &check);
    if (check.tm_mday != d) return std::nullopt;   // 31 November and the like
    return local - gmt_hours * 3600;
}

std::string RandomPin() {
    static std::mutex mutex;
    static std::mt19937 engine{std::random_device{}()};
    std::lock_guard lock(mutex);
    return std::to_string(std::uniform_int_distribution<int>(100000, 999999)(engine));
}

TelvoroService::TelvoroService(Store& store, PinGenerator pins) : store_(store), pins_(std::move(pins)) {
    if (!pins_) pins_ = RandomPin;
}

std::string TelvoroService::NewPin(Account& account) {
    const std::string pin = pins_();
    account.pin_requests = store_.AddPin(account.user, account.mobile, pin);
    return pin;
}

std::string TelvoroService::StatusReply(const Account& a) {
    Reply reply;
    reply.Line("status", 0).Line("credits", a.credits);
    const std::string email = Utf8ToCp1252(a.email);
    reply.Line("email", email).Line("mobile", a.mobile);
    const UpdateOffer offer = store_.GetUpdateOffer();
    if (!offer.url.empty()) reply.Line("update", Utf8ToCp1252(offer.url)).Line("filesize", offer.filesize);
    reply.Line("acctyp", a.acctyp);   // last: the client reads it to the end of the reply
    std::string text = reply.Text();
    // The input limits keep every reply within what the client reads; should an e-mail address
    // ever not fit, it is left out rather than losing the account type at the end.
    if (text.size() > kMaxReplyBytes) text.erase(text.find("email: "), 7 + email.size() + 2);
    return text;
}

std::string TelvoroService::Status(const Query& q) {
    std::vector<int> missing;
    if (!q.Filled("user")) missing.push_back(2);
    if (!q.Filled("password")) missing.push_back(3);
    if (!missing.empty()) return Failure(1, missing);
    const auto account = store_.FindAccount(Text(q, "user"));
    if (!account || !PasswordMatches(*account, Text(q, "password"))) return Failure(1, {1});
    if (!account->active)
        return Reply().Line("status", 1).Line("error", 4)
            .Line("error_msg", "Account not activated yet. Please enter the PIN sent to your mobile phone.").Text();
    return StatusReply(*account);
}

std::string TelvoroService::Register(const Query& q) {
    std::lock_guard lock(accounts_mutex_);
    const auto mode = q.Integer("mode");
    const bool login = mode && *mode == 1;
    std::vector<int> missing;
    if (!q.Filled("user")) missing.push_back(3);
    if (!login) {
        if (!q.Filled("country_code")) missing.push_back(4);
        if (!q.Filled("mobile_no")) missing.push_back(5);
        if (!q.Filled("email")) missing.push_back(6);
    }
    if (!q.Filled("password")) missing.push_back(7);
    if (!q.Filled("sales_channel_id")) missing.push_back(8);
    if (!q.Filled("mode")) missing.push_back(9);
    if (!q.Filled("language")) missing.push_back(10);
    if (!q.Filled("gmt")) missing.push_back(11);
    if (!missing.empty()) return Failure(2, missing);

    const std::string user = Text(q, "user");
    const std::string password = Text(q, "password");
    const bool malformed = !mode || (*mode != 0 && *mode != 1) || !q.Integer("sales_channel_id") || !q.Integer("gmt") ||
                           user.size() > kMaxNameLength || password.size() > kMaxNameLength ||
                           Trim(q.Get("language")).size() > 5;
    if (malformed) return Failure(2, {2});

    auto existing = store_.FindAccount(user);
    if (login) {
        if (!existing || !PasswordMatches(*existing, password)) return Failure(2, {2});
        if (existing->active) return Reply().Line("status", 1).Text();
    } else {
        if (existing && (existing->active || !PasswordMatches(*existing, password))) return Failure(2, {1});
    }
    const std::string email = Text(q, "email");
    const auto mobile = JoinAccountNumber(q.Get("country_code"), q.Get("mobile_no"));
    if (existing) {
        // An inactive account asking again: a new PIN, up to the limit, to the number it gives
        // now (the user may have gone back and corrected it).
        if (existing->pin_requests >= kMaxPinRequests) return Failure(2, {13});
        if (!login && (!mobile || !PlausibleEmail(email))) return Failure(2, {2});
        if (!login && *mobile != existing->mobile) {
            if (const auto holder = store_.FindAccountByMobile(*mobile); holder && holder->active) return Failure(2, {12});
        }
        if (!login) {
            existing->mobile = *mobile;
            existing->email = email;
            store_.SaveAccount(*existing);
        }
        NewPin(*existing);
        return Reply().Line("status", 0).Text();
    }

    if (!mobile || !PlausibleEmail(email)) return Failure(2, {2});
    if (const auto holder = store_.FindAccountByMobile(*mobile); holder && holder->active) return Failure(2, {12});

    Account account;
    account.user = user;
    account.password = password;
    account.mobile = *mobile;
    account.email = email;
    account.credits = kWelcomeCredits;
    account.acctyp = kNewAccountType;
    account.active = false;
    store_.SaveAccount(account);
    NewPin(account);
    return Reply().Line("status", 0).Text();
}

std::string TelvoroService::Activate(const Query& q) {
    std::lock_guard lock(accounts_mutex_);
    std::vector<int> missing;
    if (!q.Filled("user")) missing.push_back(2);
    if (!q.Filled("pin")) missing.push_back(3);
    if (!missing.empty()) return Failure(1, missing);
    auto account = store_.FindAccount(Text(q, "user"));
    const auto latest = account ? store_.LatestPin(account->user) : std::nullopt;
    if (!latest || *latest != Trim(q.Get("pin"))) return Failure(1, {1});
    if (!account->active) {
        account->active = true;
        store_.SaveAccount(*account);
    }
    return Reply().Line("status", 0).Text();
}

std::string TelvoroService::Sms(const Query& q, const std::string& raw_query) {
    std::vector<int> missing;
    if (!q.Filled("user")) missing.push_back(2);
    if (!q.Filled("password")) missing.push_back(3);
    if (!q.Filled("recipients")) missing.push_back(4);
    if (q.Get("message").empty()) missing.push_back(5);
    if (!q.Integer("gmt")) missing.push_back(6);
    if (!missing.empty()) return Failure(1, missing);

    const auto account = store_.FindAccount(Text(q, "user"));
    if (!account || !PasswordMatches(*account, Text(q, "password"))) return Failure(1, {1});
    auto refused = [&](int code) { return Reply().Line("status", 1).Line("error", code).Line("credits", account->credits).Text(); };

    const auto entries = SplitRecipients(q.Get("recipients"));
    std::vector<std::string> recipients;
    for (const auto& entry : entries) {
        const std::string digits = StripSeparators(entry);
        const std::string bare = digits.empty() || digits[0] != '+' ? digits : digits.substr(1);
        if (bare.size() > kMagicRecipientPrefix.size() && bare.rfind(kMagicRecipientPrefix, 0) == 0 &&
            AllDigits(bare.substr(kMagicRecipientPrefix.size())) && bare.size() <= kMagicRecipientPrefix.size() + 3)
            return refused(std::stoi(bare.substr(kMagicRecipientPrefix.size())));
        const auto number = NormalizeInternational(entry);
        if (!number) return refused(8);
        if (std::find(recipients.begin(), recipients.end(), *number) == recipients.end()) recipients.push_back(*number);
    }
    if (recipients.empty()) return Failure(1, {4});
    if (!account->active || recipients.size() > kMaxRecipients) return refused(8);

    Message m;
    m.user = account->user;
    m.recipients = recipients;
    const std::string bytes = q.Get("message");
    m.parts = SmsParts(CountedLength(bytes));
    if (m.parts > kMaxParts) return refused(8);
    m.message = Cp1252ToUtf8(bytes);
    m.message_raw = q.Raw("message");
    m.cc_to_mail = Cp1252ToUtf8(q.Get("cc_to_mail"));
    m.perm_mail_copy = Cp1252ToUtf8(q.Get("perm_mail_copy"));
    m.send_time = Cp1252ToUtf8(Trim(q.Get("send_time")));
    m.gmt = Trim(q.Get("gmt"));
    m.rply = Trim(q.Get("rply"));
    m.senderid = Trim(q.Get("senderid"));
    m.flash = Trim(q.Get("flash"));
    m.raw_query = raw_query;
    m.due_at = NowSeconds();
    if (!m.send_time.empty()) {
        const auto due = DueTime(m.send_time, *q.Integer("gmt"));
        if (!due) return refused(8);
        m.due_at = std::max(*due, m.due_at);
    }
    m.cost = static_cast<long long>(m.parts) * static_cast<long long>(recipients.size());

    long long credits_after = 0;
    switch (store_.SubmitMessage(m, credits_after)) {
    case Submission::kAccepted: return Reply().Line("status", 0).Line("credits", credits_after).Text();
    case Submission::kInsufficientCredits:
        return Reply().Line("status", 1).Line("error", 7).Line("credits", credits_after).Text();
    case Submission::kUnknownUser: break;
    }
    return Failure(1, {1});
}

}  // namespace pagelark::standin
