// pagelark-cli's command line: commands, GNU-style long options, "--", "-", and what is refused.
#include <gtest/gtest.h>

#include "cli/cli_options.h"

namespace pagelark::cli {
namespace {

ParseResult Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

TEST(CliOptions, LongOptionsTakeValuesBothWaysAndStandAnywhere) {
    const ParseResult r = Parse({"--json", "send", "--to=0171 1234567", "Hello there", "--flash", "--cc", "a@b.de",
                                 "--at", "2026-12-24 18:05", "--dry-run", "--reply-inbox", "--reply-mobile"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.command, Command::Send);
    EXPECT_TRUE(r.options.json && r.options.flash && r.options.dryRun && r.options.replyInbox && r.options.replyMobile);
    EXPECT_EQ(r.options.to, "0171 1234567");
    EXPECT_EQ(r.options.cc, "a@b.de");
    EXPECT_EQ(r.options.at, "2026-12-24 18:05");
    EXPECT_EQ(r.options.operands, std::vector<std::string>{"Hello there"});
}

TEST(CliOptions, DoubleDashEndsOptionsAndDashIsStandardInput) {
    ParseResult r = Parse({"send", "--to", "+491701234567", "--", "--flash is text"});
    ASSERT_EQ(r.error, "");
    EXPECT_FALSE(r.options.flash);
    EXPECT_EQ(r.options.operands, std::vector<std::string>{"--flash is text"});

    r = Parse({"count", "-"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.operands, std::vector<std::string>{"-"});

    r = Parse({"normalize", "--", "-171", "0171"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.operands, (std::vector<std::string>{"-171", "0171"}));
}

TEST(CliOptions, UsageErrorsNameWhatIsWrong) {
    struct Case {
        std::vector<std::string> args;
        std::string expected;   // part of the error
    };
    const Case cases[] = {
        {{}, "no command"},
        {{"sned"}, "unknown command \"sned\""},
        {{"send", "Hi"}, "--to"},
        {{"send", "--to", "1"}, "needs the text"},
        {{"send", "--to", "1", "a", "b"}, "one text"},
        {{"send", "--to"}, "--to needs a value"},
        {{"send", "--to", "1", "--verbose", "x"}, "unknown option \"--verbose\""},
        {{"send", "--to", "1", "-f", "x"}, "unknown option \"-f\""},
        {{"send", "--to", "1", "--flash=yes", "x"}, "--flash takes no value"},
        {{"count", "--to", "1", "x"}, "--to does not apply to count"},
        {{"credits", "--dry-run"}, "--dry-run does not apply to credits"},
        {{"credits", "extra"}, "takes no operands"},
        {{"normalize"}, "at least one number"},
        {{"send", "--to", "1", "--at", "2026-02-30 10:00", "x"}, "--at wants"},
        {{"send", "--to", "1", "--at", "tomorrow", "x"}, "--at wants"},
        {{"send", "--to", "1", "--password-file", "-", "-"}, "not both"},
    };
    for (const Case& c : cases) {
        const ParseResult r = Parse(c.args);
        EXPECT_NE(r.error.find(c.expected), std::string::npos) << "error: " << r.error << "\nwanted: " << c.expected;
    }
}

TEST(CliOptions, APasswordIsNeverTakenFromTheCommandLine) {
    for (const auto& args : {std::vector<std::string>{"send", "--to", "1", "--password", "pw", "x"},
                             std::vector<std::string>{"credits", "--password=pw"}}) {
        const ParseResult r = Parse(args);
        EXPECT_NE(r.error.find("never taken from the command line"), std::string::npos) << r.error;
        EXPECT_NE(r.error.find("--password-file"), std::string::npos);
    }
}

TEST(CliOptions, HelpNeedsNoOtherOperandsAndDocumentsTheExitCodes) {
    for (const auto& args : {std::vector<std::string>{"--help"}, std::vector<std::string>{"send", "--help"},
                             std::vector<std::string>{"count", "-h"}}) {
        const ParseResult r = Parse(args);
        EXPECT_EQ(r.error, "");
        EXPECT_TRUE(r.options.help);
    }
    for (Command command : {Command::None, Command::Send, Command::Credits, Command::Count, Command::Normalize}) {
        const std::string help = HelpText(command);
        for (const char* line : {"0  sent", "1  usage", "2  the service refused", "3  no connection", "4  the text"})
            EXPECT_NE(help.find(line), std::string::npos) << CommandName(command) << ": " << line;
    }
}

TEST(CliOptions, SendTimeIsCheckedAndWrittenAsTheServiceWantsIt) {
    EXPECT_EQ(SendTimeFromAt("2026-12-06 19:20"), "2026-12-06 19:20");
    EXPECT_EQ(SendTimeFromAt("2026-12-06T09:05"), "2026-12-06 09:05");
    EXPECT_EQ(SendTimeFromAt("2028-02-29 00:00"), "2028-02-29 00:00");
    EXPECT_FALSE(SendTimeFromAt("2027-02-29 00:00"));
    EXPECT_FALSE(SendTimeFromAt("2026-13-01 10:00"));
    EXPECT_FALSE(SendTimeFromAt("2026-12-24 -8:00"));   // found by the command-line fuzz target
    EXPECT_FALSE(SendTimeFromAt("2026-12-24 18:-5"));
    EXPECT_FALSE(SendTimeFromAt("2026-+1-24 18:00"));
    EXPECT_FALSE(SendTimeFromAt("2026-12-06 24:00"));
    EXPECT_FALSE(SendTimeFromAt("2026-12-6 19:20"));
    EXPECT_FALSE(SendTimeFromAt("2026-12-06 19:20:00"));
    EXPECT_FALSE(SendTimeFromAt("+026-12-06 19:20"));
}

}  // namespace
}  // namespace pagelark::cli
