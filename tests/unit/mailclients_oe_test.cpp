// The Outlook Express side without the connector: the message source it files and the life of
// its objects through starts, client events and stops.
#include <gtest/gtest.h>

#include "mailclients/oe_lifecycle.h"
#include "mailclients/oe_message_source.h"
#include "mailclients/outlook_rules.h"

namespace pagelark {
namespace {

MessageRecord Record(std::string to, std::string cc, std::string body) {
    MessageRecord record;
    record.To = std::move(to);
    record.CC = std::move(cc);
    record.Subject = "SMS-Message";
    record.Body = std::move(body);
    return record;
}

TEST(OeMessageSource, HeaderLinesEndWithOneLineFeedAndTheBodyFollowsAnEmptyLine) {
    const std::string sender = SenderDisplayText("Anna Meier", "49", "1701234567");
    EXPECT_EQ(sender, "Anna Meier (491701234567)");
    EXPECT_EQ(OutlookExpressMessageSource(Record("+491709876543", "me@example.org", "Hi"), sender),
              "From: Anna Meier (491701234567)\n"
              "To: +491709876543\n"
              "CC: me@example.org\n"
              "Subject: SMS-Message\n"
              "\n"
              "Hi");
}

TEST(OeMessageSource, EmptyCcKeepsItsLineAndTheBodyIsUnchanged) {
    const std::string body = "line one\r\nline two\r\n\r\n  Umlaut \xC3\xA4 and CC: not a header\r\n";
    const std::string source = OutlookExpressMessageSource(Record("Bob (+4917011)", "", body), "x (1)");
    EXPECT_NE(source.find("\nCC: \nSubject: SMS-Message\n\n"), std::string::npos);
    ASSERT_GE(source.size(), body.size());
    EXPECT_EQ(source.substr(source.size() - body.size()), body);   // CR LF, blanks and bytes as given
    EXPECT_EQ(source.find('\r'), source.find("line one") + 8);     // no CR in the header part
}

TEST(OeMessageSource, EmptyRecordStillHasEveryHeader) {
    EXPECT_EQ(OutlookExpressMessageSource(MessageRecord{}, ""), "From: \nTo: \nCC: \nSubject: \n\n");
}

TEST(OeLifecycle, StartClientRunButtonAndStop) {
    OeLifecycle life;
    EXPECT_EQ(life.stage(), OeStage::Stopped);
    EXPECT_FALSE(life.CanFileMessages(true));
    EXPECT_TRUE(life.Started("Main Identity"));
    EXPECT_FALSE(life.Started("Other"));   // a second start keeps its objects and identity
    EXPECT_EQ(life.identity(), "Main Identity");
    EXPECT_TRUE(life.CanFileMessages(true));
    EXPECT_FALSE(life.CanFileMessages(false));

    EXPECT_TRUE(life.ClientReady());
    EXPECT_FALSE(life.IdentityRead("Main Identity"));
    EXPECT_TRUE(life.ScheduleButton(true));
    EXPECT_FALSE(life.ScheduleButton(true));   // one wait at a time
    EXPECT_FALSE(life.ClickOpensWindow());
    EXPECT_TRUE(life.ButtonDue());
    life.ButtonMade();
    EXPECT_TRUE(life.ClickOpensWindow());
    EXPECT_FALSE(life.ClientReady());          // a repeated ready report adds nothing
    EXPECT_FALSE(life.ScheduleButton(true));   // nor a second button

    EXPECT_TRUE(life.Stop());                  // the running client's main object is closed
    EXPECT_EQ(life.stage(), OeStage::Stopped);
    EXPECT_FALSE(life.ClickOpensWindow());
    EXPECT_FALSE(life.Stop());
}

TEST(OeLifecycle, IdentityChangeIsNoticedAtTheNextClientStart) {
    OeLifecycle life;
    life.Started("Main Identity");
    ASSERT_TRUE(life.ClientReady());
    EXPECT_FALSE(life.IdentityRead("Main Identity"));
    EXPECT_TRUE(life.ClientClosed());
    ASSERT_TRUE(life.ClientReady());
    EXPECT_TRUE(life.IdentityRead("Work"));    // folder manager made again
    EXPECT_EQ(life.identity(), "Work");
    EXPECT_FALSE(life.IdentityRead("Work"));
}

TEST(OeLifecycle, ClientClosingDuringTheWaitCancelsTheButton) {
    OeLifecycle life;
    life.Started("a");
    life.ClientReady();
    ASSERT_TRUE(life.ScheduleButton(true));
    EXPECT_TRUE(life.ClientClosed());
    EXPECT_FALSE(life.ButtonDue());            // the main object is gone: no toolbar to ask
    EXPECT_FALSE(life.ClientClosed());         // a second close report does nothing
    // The next client start brings a new button.
    life.ClientReady();
    EXPECT_TRUE(life.ScheduleButton(true));
    EXPECT_TRUE(life.ButtonDue());
    life.ButtonMade();
    EXPECT_TRUE(life.ClientClosed());
    EXPECT_FALSE(life.hasButton());
}

TEST(OeLifecycle, EventsOutsideTheirStageAreIgnored) {
    OeLifecycle life;
    EXPECT_FALSE(life.ClientReady());          // before a start
    EXPECT_FALSE(life.ClientClosed());
    EXPECT_FALSE(life.ButtonDue());
    life.Started("a");
    EXPECT_FALSE(life.ScheduleButton(true));   // no client yet
    life.ClientReady();
    EXPECT_FALSE(life.ScheduleButton(false));  // integration off: no button
    ASSERT_TRUE(life.ScheduleButton(true));
    life.Stop();
    EXPECT_FALSE(life.ButtonDue());            // a wait that ends after the stop adds nothing
    EXPECT_FALSE(life.ClientReady());          // a late ready report after the stop
    EXPECT_TRUE(life.Started("b"));            // the next start reads the identity afresh
    EXPECT_EQ(life.identity(), "b");
}

}  // namespace
}  // namespace pagelark
