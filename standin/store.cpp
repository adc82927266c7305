#include "store.h"

#include <sqlite3.h>

#include <chrono>
#include <ctime>
#include <stdexcept>

namespace pagelark::standin {
namespace {

constexpr const char* kSchema = R"SQL(
CREATE TABLE IF NOT EXISTS accounts(
    user TEXT PRIMARY KEY, password TEXT NOT NULL, mobile TEXT NOT NULL, email TEXT NOT NULL,
    credits INTEGER NOT NULL, acctyp TEXT NOT NULL, active INTEGER NOT NULL, pin_requests INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS pins(
    id INTEGER PRIMARY KEY, user TEXT NOT NULL, mobile TEXT NOT NULL, pin TEXT NOT NULL, created_at TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS credit_movements(
    id INTEGER PRIMARY KEY, user TEXT NOT NULL, delta INTEGER NOT NULL, balance INTEGER NOT NULL,
    reason TEXT NOT NULL, message_id INTEGER, at TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS messages(
    id INTEGER PRIMARY KEY, user TEXT NOT NULL, recipients TEXT NOT NULL, cc_to_mail TEXT NOT NULL,
    perm_mail_copy TEXT NOT NULL, message TEXT NOT NULL, message_raw TEXT NOT NULL, send_time TEXT NOT NULL,
    gmt TEXT NOT NULL, rply TEXT NOT NULL, senderid TEXT NOT NULL, flash TEXT NOT NULL, parts INTEGER NOT NULL,
    cost INTEGER NOT NULL, due_at INTEGER NOT NULL, raw_query TEXT NOT NULL, received_at TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS message_recipients(message_id INTEGER NOT NULL, number TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS message_recipients_number ON message_recipients(number);
CREATE TABLE IF NOT EXISTS requests(
    id INTEGER PRIMARY KEY, server TEXT NOT NULL, path TEXT NOT NULL, raw_query TEXT NOT NULL,
    authorized INTEGER NOT NULL, at TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS settings(key TEXT PRIMARY KEY, value TEXT NOT NULL);
)SQL";

// One prepared statement, finalized on every way out.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &st_, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("sqlite prepare: ") + sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(st_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int i, const std::string& s) {
        sqlite3_bind_text(st_, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Bind(int i, long long n) {
        sqlite3_bind_int64(st_, i, n);
        return *this;
    }
    bool Step() {
        const int rc = sqlite3_step(st_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        throw std::runtime_error(std::string("sqlite step: ") + sqlite3_errmsg(sqlite3_db_handle(st_)));
    }
    std::string Text(int col) const {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, col));
        return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(st_, col))) : std::string();
    }
    long long Int(int col) const { return sqlite3_column_int64(st_, col); }
    sqlite3_stmt* get() { return st_; }

private:
    sqlite3_stmt* st_ = nullptr;
};

Account ReadAccount(Statement& st) {
    Account a;
    a.user = st.Text(0);
    a.password = st.Text(1);
    a.mobile = st.Text(2);
    a.email = st.Text(3);
    a.credits = st.Int(4);
    a.acctyp = st.Text(5);
    a.active = st.Int(6) != 0;
    a.pin_requests = static_cast<int>(st.Int(7));
    return a;
}

constexpr const char* kAccountColumns = "SELECT user,password,mobile,email,credits,acctyp,active,pin_requests FROM accounts ";
constexpr const char* kMessageColumns =
    "SELECT id,user,recipients,cc_to_mail,perm_mail_copy,message,message_raw,send_time,gmt,rply,senderid,flash,"
    "parts,cost,due_at,raw_query,received_at FROM messages ";

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::string JoinCommas(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) {
        if (!out.empty()) out += ',';
        out += item;
    }
    return out;
}

}  // namespace

std::string NowText() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

long long NowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

Store::Store(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
        const std::string error = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + path + ": " + error);
    }
    sqlite3_busy_timeout(db_, 5000);
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=NORMAL");
    Exec(kSchema);
}

Store::~Store() {
    sqlite3_close(db_);
}

void Store::Exec(const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error ? error : "unknown";
        sqlite3_free(error);
        throw std::runtime_error("sqlite: " + text);
    }
}

void Store::Reset() {
    std::lock_guard lock(mutex_);
    Exec("BEGIN; DELETE FROM accounts; DELETE FROM pins; DELETE FROM credit_movements; DELETE FROM messages;"
         "DELETE FROM message_recipients; DELETE FROM requests; DELETE FROM settings; COMMIT;");
}

std::optional<Account> Store::FindAccount(const std::string& user) {
    std::lock_guard lock(mutex_);
    Statement st(db_, (std::string(kAccountColumns) + "WHERE user=?").c_str());
    st.Bind(1, user);
    if (!st.Step()) return std::nullopt;
    return ReadAccount(st);
}

std::optional<Account> Store::FindAccountByMobile(const std::string& mobile) {
    std::lock_guard lock(mutex_);
    Statement st(db_, (std::string(kAccountColumns) + "WHERE mobile=? ORDER BY active DESC LIMIT 1").c_str());
    st.Bind(1, mobile);
    if (!st.Step()) return std::nullopt;
    return ReadAccount(st);
}

void Store::SaveAccount(const Account& a) {
    std::lock_guard lock(mutex_);
    auto before = [&]() -> std::optional<long long> {
        Statement st(db_, "SELECT credits FROM accounts WHERE user=?");
        st.Bind(1, a.user);
        if (!st.Step()) return std::nullopt;
        return st.Int(0);
    }();
    Exec("BEGIN");
    try {
        Statement st(db_,
                     "INSERT OR REPLACE INTO accounts(user,password,mobile,email,credits,acctyp,active,pin_requests) "
                     "VALUES(?,?,?,?,?,?,?,?)");
        st.Bind(1, a.user).Bind(2, a.password).Bind(3, a.mobile).Bind(4, a.email).Bind(5, a.credits);
        st.Bind(6, a.acctyp).Bind(7, static_cast<long long>(a.active)).Bind(8, static_cast<long long>(a.pin_requests));
        st.Step();
        const long long delta = a.credits - before.value_or(0);
        if (delta != 0) {
            Statement mv(db_, "INSERT INTO credit_movements(user,delta,balance,reason,at) VALUES(?,?,?,'admin',?)");
            mv.Bind(1, a.user).Bind(2, delta).Bind(3, a.credits).Bind(4, NowText());
            mv.Step();
        }
        Exec("COMMIT");
    } catch (...) {
        Exec("ROLLBACK");
        throw;
    }
}

int Store::AddPin(const std::string& user, const std::string& mobile, const std::string& pin) {
    std::lock_guard lock(mutex_);
    Exec("BEGIN");
    try {
        Statement ins(db_, "INSERT INTO pins(user,mobile,pin,created_at) VALUES(?,?,?,?)");
        ins.Bind(1, user).Bind(2, mobile).Bind(3, pin).Bind(4, NowText());
        ins.Step();
        Statement up(db_, "UPDATE accounts SET pin_requests=pin_requests+1 WHERE user=?");
        up.Bind(1, user);
        up.Step();
        Statement count(db_, "SELECT pin_requests FROM accounts WHERE user=?");
        count.Bind(1, user);
        const int n = count.Step() ? static_cast<int>(count.Int(0)) : 0;
        Exec("COMMIT");
        return n;
    } catch (...) {
        Exec("ROLLBACK");
        throw;
    }
}

std::optional<std::string> Store::LatestPin(const std::string& user) {
    std::lock_guard lock(mutex_);
    Statement st(db_, "SELECT pin FROM pins WHERE user=? ORDER BY id DESC LIMIT 1");
    st.Bind(1, user);
    if (!st.Step()) return std::nullopt;
    return st.Text(0);
}

std::vector<Pin> Store::PinsForMobile(const std::string& mobile) {
    std::lock_guard lock(mutex_);
    Statement st(db_, "SELECT user,mobile,pin,created_at FROM pins WHERE mobile=? ORDER BY id");
    st.Bind(1, mobile);
    std::vector<Pin> pins;
    while (st.Step()) pins.push_back(Pin{st.Text(0), st.Text(1), st.Text(2), st.Text(3)});
    return pins;
}

Submission Store::SubmitMessage(Message& m, long long& credits_after) {
    std::lock_guard lock(mutex_);
    Exec("BEGIN IMMEDIATE");
    try {
        Statement acc(db_, "SELECT credits FROM accounts WHERE user=?");
        acc.Bind(1, m.user);
        if (!acc.Step()) {
            Exec("ROLLBACK");
            return Submission::kUnknownUser;
        }
        const long long credits = acc.Int(0);
        credits_after = credits;
        if (credits < m.cost) {
            Exec("ROLLBACK");
            return Submission::kInsufficientCredits;
        }
        credits_after = credits - m.cost;
        m.received_at = NowText();
        Statement ins(db_,
                      "INSERT INTO messages(user,recipients,cc_to_mail,perm_mail_copy,message,message_raw,send_time,gmt,"
                      "rply,senderid,flash,parts,cost,due_at,raw_query,received_at) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        ins.Bind(1, m.user).Bind(2, JoinCommas(m.recipients)).Bind(3, m.cc_to_mail).Bind(4, m.perm_mail_copy);
        ins.Bind(5, m.message).Bind(6, m.message_raw).Bind(7, m.send_time).Bind(8, m.gmt).Bind(9, m.rply);
        ins.Bind(10, m.senderid).Bind(11, m.flash).Bind(12, static_cast<long long>(m.parts)).Bind(13, m.cost);
        ins.Bind(14, m.due_at).Bind(15, m.raw_query).Bind(16, m.received_at);
        ins.Step();
        m.id = sqlite3_last_insert_rowid(db_);
        for (const auto& number : m.recipients) {
            Statement r(db_, "INSERT INTO message_recipients(message_id,number) VALUES(?,?)");
            r.Bind(1, m.id).Bind(2, number);
            r.Step();
        }
        Statement up(db_, "UPDATE accounts SET credits=? WHERE user=?");
        up.Bind(1, credits_after).Bind(2, m.user);
        up.Step();
        Statement mv(db_, "INSERT INTO credit_movements(user,delta,balance,reason,message_id,at) VALUES(?,?,?,'sms',?,?)");
        mv.Bind(1, m.user).Bind(2, -m.cost).Bind(3, credits_after).Bind(4, m.id).Bind(5, m.received_at);
        mv.Step();
        Exec("COMMIT");
        return Submission::kAccepted;
    } catch (...) {
        Exec("ROLLBACK");
        throw;
    }
}

Message Store::ReadMessage(sqlite3_stmt* raw) {
    auto text = [raw](int col) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(raw, col));
        return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(raw, col))) : std::string();
    };
    Message m;
    m.id = sqlite3_column_int64(raw, 0);
    m.user = text(1);
    m.recipients = SplitCommas(text(2));
    m.cc_to_mail = text(3);
    m.perm_mail_copy = text(4);
    m.message = text(5);
    m.message_raw = text(6);
    m.send_time = text(7);
    m.gmt = text(8);
    m.rply = text(9);
    m.senderid = text(10);
    m.flash = text(11);
    m.parts = static_cast<int>(sqlite3_column_int64(raw, 12));
    m.cost = sqlite3_column_int64(raw, 13);
    m.due_at = sqlite3_column_int64(raw, 14);
    m.raw_query = text(15);
    m.received_at = text(16);
    m.state = m.due_at > NowSeconds() ? "scheduled" : "delivered";
    return m;
}

std::vector<Message> Store::QueryMessages(const char* sql, const std::optional<std::string>& bind) {
    std::lock_guard lock(mutex_);
    Statement st(db_, sql);
    if (bind) st.Bind(1, *bind);
    std::vector<Message> out;
    while (st.Step()) out.push_back(ReadMessage(st.get()));
    return out;
}

std::vector<Message> Store::Messages(const std::optional<std::string>& user) {
    const std::string sql = std::string(kMessageColumns) + (user ? "WHERE user=? " : "") + "ORDER BY id";
    return QueryMessages(sql.c_str(), user);
}

std::vector<Message> Store::MessagesTo(const std::string& mobile) {
    const std::string sql = std::string(kMessageColumns) +
                            "WHERE id IN (SELECT message_id FROM message_recipients WHERE number=?) ORDER BY id DESC";
    return QueryMessages(sql.c_str(), mobile);
}

std::vector<std::string> Store::KnownMobiles() {
    std::lock_guard lock(mutex_);
    Statement st(db_, "SELECT mobile FROM pins UNION SELECT number FROM message_recipients ORDER BY 1");
    std::vector<std::string> out;
    while (st.Step()) out.push_back(st.Text(0));
    return out;
}

void Store::LogRequest(const RequestRecord& r) {
    std::lock_guard lock(mutex_);
    Statement st(db_, "INSERT INTO requests(server,path,raw_query,authorized,at) VALUES(?,?,?,?,?)");
    st.Bind(1, r.server).Bind(2, r.path).Bind(3, r.raw_query).Bind(4, static_cast<long long>(r.authorized));
    st.Bind(5, r.at.empty() ? NowText() : r.at);
    st.Step();
}

std::vector<RequestRecord> Store::Requests(const std::optional<std::string>& path) {
    std::lock_guard lock(mutex_);
    Statement st(db_, path ? "SELECT server,path,raw_query,authorized,at FROM requests WHERE path=? ORDER BY id"
                           : "SELECT server,path,raw_query,authorized,at FROM requests ORDER BY id");
    if (path) st.Bind(1, *path);
    std::vector<RequestRecord> out;
    while (st.Step()) out.push_back(RequestRecord{st.Text(0), st.Text(1), st.Text(2), st.Int(3) != 0, st.Text(4)});
    return out;
}

UpdateOffer Store::GetUpdateOffer() {
    std::lock_guard lock(mutex_);
    UpdateOffer offer;
    Statement st(db_, "SELECT key,value FROM settings WHERE key IN ('update_url','filesize')");
    while (st.Step()) {
        if (st.Text(0) == "update_url") offer.url = st.Text(1);
        else offer.filesize = std::atoll(st.Text(1).c_str());
    }
    return offer;
}

void Store::SetUpdateOffer(const UpdateOffer& offer) {
    std::lock_guard lock(mutex_);
    Statement a(db_, "INSERT OR REPLACE INTO settings(key,value) VALUES('update_url',?)");
    a.Bind(1, offer.url);
    a.Step();
    Statement b(db_, "INSERT OR REPLACE INTO settings(key,value) VALUES('filesize',?)");
    b.Bind(1, std::to_string(offer.filesize));
    b.Step();
}

}  // namespace pagelark::standin
