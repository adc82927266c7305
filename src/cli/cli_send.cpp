// send: the message window's send flow for one command line. The same checks in the same order
// (recipients, text, unsendable characters), the cost line of the confirmation question, the
// status request that precedes a send, then the send request.
#include "cli/cli_service.h"
#include "cli/cli_session.h"
#include "cli/english_texts.h"
#include "cli/recipient_numbers.h"
#include "common/text_encoding.h"
#include "model/send_options.h"
#include "window/send_charset.h"
#include "window/send_cost.h"
#include "window/send_flow.h"
#include "window/sms_counter.h"

namespace pagelark::cli {

namespace {

std::string Joined(const std::vector<std::string>& items, std::string_view separator) {
    std::string out;
    for (const std::string& item : items) {
        if (!out.empty()) out += separator;
        out += item;
    }
    return out;
}

std::string Text(int id) { return std::string(EnglishText(id)); }

int RequestedOptions(const Options& options) {
    int bits = 0;
    if (options.replyInbox) bits |= send_option::kReplyToInbox;
    if (options.replyMobile) bits |= send_option::kReplyToMobile;
    if (options.flash) bits |= send_option::kFlash;
    return bits;
}

// What the account type does not allow of what was asked; the window would not even offer it.
std::vector<std::string> NotAllowed(int accountType, int options, bool scheduled, bool cc) {
    std::vector<std::string> refused;
    using namespace account_feature;
    if ((options & kReplyToInbox) && !(accountType & kReplyToInbox)) refused.emplace_back("--reply-inbox");
    if ((options & kReplyToMobile) && !(accountType & kReplyToMobile)) refused.emplace_back("--reply-mobile");
    if ((options & kFlash) && !(accountType & kFlash)) refused.emplace_back("--flash");
    if (scheduled && !(accountType & kScheduled)) refused.emplace_back("--at");
    if (cc && !(accountType & kCarbonCopy)) refused.emplace_back("--cc");
    return refused;
}

}  // namespace

int RunSend(Session& session) {
    const Options& options = session.options();
    Configuration config;
    std::string error;
    if (!session.LoadConfiguration(config, error)) return session.Fail(kExitUsage, error);

    const RecipientList to = RecipientNumbers(*options.to, config);
    if (!to.bad.empty()) return session.Fail(kExitUsage, "not a phone number: \"" + to.bad + "\"");
    if (to.addresses.empty()) return session.Fail(kExitUsage, Text(IDS_ENTER_RECIPIENTS));
    const RecipientList cc = CcAddresses(options.cc.value_or(""));
    if (!cc.bad.empty()) return session.Fail(kExitUsage, "not an e-mail address: \"" + cc.bad + "\"");

    const std::optional<std::string> body = session.ReadText(error);
    if (!body) return session.Fail(kExitUsage, error);
    if (body->empty()) return session.Fail(kExitUsage, Text(IDS_ENTER_TEXT));

    JsonObject json;
    json.Add("recipients", to.addresses);
    // The service would receive such characters as "?": name them, send nothing.
    const std::u32string unsendable = FindUnsendableCharacters(*body);
    if (!unsendable.empty()) {
        std::vector<std::string> list;
        for (const char32_t ch : unsendable) list.push_back(EncodeUtf8(std::u32string(1, ch)));
        json.Add("sent", false).Add("unsendable", list);
        return session.Fail(kExitUnsendable,
                            FillPlaceholders(Text(IDS_UNSENDABLE_CHARACTERS), {ListCharactersForDisplay(unsendable)}), json);
    }
    const int counted = CountSmsCharacters(*body);
    if (counted > kMaxSmsCharacters) {
        json.Add("sent", false).Add("characters", counted);
        return session.Fail(kExitUnsendable,
                            "the text counts " + std::to_string(counted) + " characters; at most 1520 can be sent", json);
    }

    const SendCost cost = ComputeSendCost(static_cast<int>(to.addresses.size()), *body);
    const SendCostTexts costTexts{Text(IDS_COST_RECIPIENT_ONE), Text(IDS_COST_RECIPIENTS_MANY),
                                  Text(IDS_COST_LINE)};
    const std::string sendTime = options.at ? SendTimeFromAt(*options.at).value_or("") : std::string();
    const int sendOptions = RequestedOptions(options);
    json.Add("characters", counted).Add("parts", cost.parts).Add("cost", cost.total);
    if (!sendTime.empty()) json.Add("send_time", sendTime);

    session.Print("To: " + Joined(to.addresses, ", "));
    if (!cc.addresses.empty()) session.Print("CC: " + Joined(cc.addresses, ", "));
    session.Print("Cost: " + FormatSendCost(cost, costTexts));
    if (options.dryRun) {
        session.Print("Dry run: nothing sent.");
        return session.Finish(kExitOk, json.Add("dry_run", true).Add("sent", false));
    }

    if (const std::string missing = MissingAccountText(config.settings); !missing.empty())
        return session.Fail(kExitUsage, missing, json.Add("sent", false));

    ServiceRun run(session.platform(), config);
    // As the message window does before its first send: the account's status, which also says
    // which send options the account has.
    const int status = run.client().RequestStatus();
    if (status != 0)
        return session.Fail(ExitCodeOfStatus(status), run.client().LastError(), json.Add("sent", false));
    const std::vector<std::string> refused =
        NotAllowed(run.client().AccountType(), sendOptions, !sendTime.empty(), !cc.addresses.empty());
    if (!refused.empty())
        return session.Fail(kExitRefused, "the account does not allow " + Joined(refused, ", "),
                            json.Add("sent", false));

    run.watch().Reset();
    const bool sent = run.client().SendSms(Joined(to.addresses, ";"), Joined(cc.addresses, ";"), *body, sendTime,
                                           sendOptions);
    json.Add("sent", sent).Add("credits", static_cast<std::int64_t>(run.client().Credits()));
    if (!sent) {
        const int code = run.watch().Answered() ? kExitRefused : kExitNoConnection;
        return session.Fail(code, run.client().LastError(), json);
    }
    session.Print(Text(IDS_SEND_SUCCEEDED) + " Credits: " + run.client().CreditsText());
    return session.Finish(kExitOk, json);
}

}  // namespace pagelark::cli
