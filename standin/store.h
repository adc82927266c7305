#pragma once
// The stand-in's state in SQLite: accounts, PINs, credit movements, received messages and every
// request. One connection, used by the server's worker threads one at a time.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace pagelark::standin {

struct Account {
    std::string user;
    std::string password;
    std::string mobile;        // "+491701234567"
    std::string email;
    long long credits = 0;
    std::string acctyp = "00000";
    bool active = false;
    int pin_requests = 0;
};

struct UpdateOffer {
    std::string url;           // empty: no offer
    long long filesize = 0;
};

struct Message {
    long long id = 0;
    std::string user;
    std::vector<std::string> recipients;   // "+4917..." each
    std::string cc_to_mail;
    std::string perm_mail_copy;
    std::string message;        // UTF-8
    std::string message_raw;    // the escaped value as received
    std::string send_time;
    std::string gmt;
    std::string rply;
    std::string senderid;
    std::string flash;
    int parts = 0;
    long long cost = 0;
    long long due_at = 0;       // seconds since 1970 (UTC)
    std::string raw_query;
    std::string received_at;
    std::string state;          // "scheduled" until due, then "delivered" (filled when read)
};

struct Pin {
    std::string user;
    std::string mobile;
    std::string pin;
    std::string created_at;
};

struct RequestRecord {
    std::string server;
    std::string path;
    std::string raw_query;
    bool authorized = false;
    std::string at;
};

enum class Submission { kAccepted, kUnknownUser, kInsufficientCredits };

class Store {
public:
    // Opens (creating) the database file; ":memory:" keeps it in memory. Throws on failure.
    explicit Store(const std::string& path);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    void Reset();

    std::optional<Account> FindAccount(const std::string& user);
    std::optional<Account> FindAccountByMobile(const std::string& mobile);
    void SaveAccount(const Account& account);   // insert or replace

    // Adds a PIN for the account and counts the request; returns the new count.
    int AddPin(const std::string& user, const std::string& mobile, const std::string& pin);
    std::optional<std::string> LatestPin(const std::string& user);
    std::vector<Pin> PinsForMobile(const std::string& mobile);   // oldest first

    // Charges the cost and stores the message in one step; fills id, received_at and credits_after.
    Submission SubmitMessage(Message& message, long long& credits_after);
    std::vector<Message> Messages(const std::optional<std::string>& user);
    std::vector<Message> MessagesTo(const std::string& mobile);
    std::vector<std::string> KnownMobiles();   // every number with a PIN or a message

    void LogRequest(const RequestRecord& record);
    std::vector<RequestRecord> Requests(const std::optional<std::string>& path);

    UpdateOffer GetUpdateOffer();
    void SetUpdateOffer(const UpdateOffer& offer);

private:
    void Exec(const char* sql);
    Message ReadMessage(sqlite3_stmt* st);
    std::vector<Message> QueryMessages(const char* sql, const std::optional<std::string>& bind);

    std::mutex mutex_;
    sqlite3* db_ = nullptr;
};

std::string NowText();   // "2026-12-08 05:50:12" UTC
long long NowSeconds();

}  // namespace pagelark::standin
