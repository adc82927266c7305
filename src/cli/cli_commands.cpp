// The commands besides send: credits, count, normalize and encode-password.
#include "model/password.h"
#include "cli/cli_service.h"
#include "cli/cli_session.h"
#include "cli/ini_store.h"
#include "cli/recipient_numbers.h"
#include "common/text_encoding.h"
#include "window/send_charset.h"
#include "window/sms_counter.h"

namespace pagelark::cli {

// The account check both service commands make before any request.
std::string MissingAccountText(const Settings& settings) {
    if (settings.UserName.empty())
        return "no account: set up Pagelark first, give --user, or set UserName in the settings file";
    if (settings.UserPassword.empty())
        return "no password: give --password-file, or set UserPassword in the settings file";
    return {};
}

int RunCredits(Session& session) {
    Configuration config;
    std::string error;
    if (!session.LoadConfiguration(config, error)) return session.Fail(kExitUsage, error);
    if (const std::string missing = MissingAccountText(config.settings); !missing.empty())
        return session.Fail(kExitUsage, missing);

    ServiceRun run(session.platform(), config);
    const int status = run.client().RequestStatus();
    if (status != 0) return session.Fail(ExitCodeOfStatus(status), run.client().LastError());

    const int accountType = run.client().AccountType();
    const std::vector<std::string> features = AccountFeatures(accountType);
    session.Print("Credits: " + run.client().CreditsText());
    std::string featureText;
    for (const std::string& feature : features) featureText += (featureText.empty() ? "" : ", ") + feature;
    session.Print("Account type: " + AccountTypeBits(accountType) + (featureText.empty() ? "" : " (" + featureText + ")"));
    JsonObject json;
    json.Add("credits", static_cast<std::int64_t>(run.client().Credits()))
        .Add("credits_text", run.client().CreditsText())
        .Add("account_type", AccountTypeBits(accountType))
        .Add("features", features);
    return session.Finish(kExitOk, json);
}

int RunCount(Session& session) {
    std::string error;
    const std::optional<std::string> text = session.ReadText(error);
    if (!text) return session.Fail(kExitUsage, error);
    const int counted = CountSmsCharacters(*text);
    const bool tooLong = counted > kMaxSmsCharacters;
    const int parts = tooLong ? 0 : SegmentsForCount(counted);
    const std::u32string unsendable = FindUnsendableCharacters(*text);
    std::vector<std::string> unsendableList;
    for (const char32_t ch : unsendable) unsendableList.push_back(EncodeUtf8(std::u32string(1, ch)));

    JsonObject json;
    json.Add("characters", counted).Add("parts", parts).Add("max", kMaxSmsCharacters).Add("unsendable", unsendableList);
    session.Print(tooLong ? std::to_string(counted) + "/1520 [too long]"
                          : std::string(TrimBlanks(CounterLabel(counted, parts))));
    if (!unsendable.empty())
        return session.Fail(kExitUnsendable, "cannot be sent by SMS: " + ListCharactersForDisplay(unsendable), json);
    if (tooLong)
        return session.Fail(kExitUnsendable,
                            "the text counts " + std::to_string(counted) + " characters; at most 1520 can be sent",
                            json);
    return session.Finish(kExitOk, json);
}

int RunNormalize(Session& session) {
    Configuration config;
    std::string error;
    if (!session.LoadConfiguration(config, error)) return session.Fail(kExitUsage, error);
    std::vector<std::string> numbers;
    std::string rows;
    for (const std::string& operand : session.options().operands) {
        const std::optional<std::string> number = InternationalNumber(operand, config);
        if (!number) return session.Fail(kExitUsage, "not a phone number: \"" + operand + "\"");
        numbers.push_back(*number);
        if (!rows.empty()) rows += ',';
        rows += JsonObject().Add("input", operand).Add("international", *number).Text();
    }
    for (const std::string& number : numbers) session.Print(number);
    return session.Finish(kExitOk, JsonObject().AddRaw("numbers", "[" + rows + "]"));
}

int RunEncodePassword(Session& session) {
    std::string error;
    std::optional<std::string> contents;
    if (session.options().passwordFile && *session.options().passwordFile != "-") {
        contents = session.platform().ReadSecretFile(*session.options().passwordFile, error);
    } else {
        contents = session.platform().ReadStandardInput();
        if (!contents) error = "standard input cannot be read";
    }
    if (!contents) return session.Fail(kExitUsage, error);
    const std::string password = FirstLine(*contents);
    if (password.empty()) return session.Fail(kExitUsage, "the password is empty");
    // The same rule as the setup wizard's: what cannot be stored whole is refused.
    if (!IsStorablePassword(password))
        return session.Fail(kExitUsage, "this password cannot be stored (a character outside Windows-1252, "
                                        "or a pair of characters the scrambling turns into a zero byte)");
    session.platform().Out("UserPassword=" + HexOfBytes(ScramblePassword(Utf8ToCp1252(password))) + "\n");
    return kExitOk;
}

}  // namespace pagelark::cli
