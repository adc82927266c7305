#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "window/message_layout.h"
#include "window/print_jobs.h"
#include "window/print_layout.h"
#include "window/save_as.h"

using namespace pagelark;

TEST(MessageLayout, HeaderRecipientsCcAndBodyInTheFixedFormat) {
    EXPECT_EQ(BuildMessageLayout("To", "anna", "", "Hello"), "- Telvoro Pagelark -\n\nTo: anna\nCC: \n\nHello");
    EXPECT_EQ(BuildMessageLayout("An", "+491711234567", "a@b.de", "Hallo"),
              "- Telvoro Pagelark -\n\nAn: +491711234567\nCC: a@b.de\n\nHallo");
}

TEST(MessageLayout, EveryLineEndsInExactlyOneCrLf) {
    EXPECT_EQ(WithCrLfLineEnds("a\nb"), "a\r\nb");
    EXPECT_EQ(WithCrLfLineEnds("a\r\nb"), "a\r\nb");      // the editor's breaks are not doubled
    EXPECT_EQ(WithCrLfLineEnds("a\rb\n\n"), "a\r\nb\r\n\r\n");
    EXPECT_EQ(WithCrLfLineEnds("a\r\n\r\nb\r"), "a\r\n\r\nb\r\n");
    EXPECT_EQ(WithCrLfLineEnds(""), "");
}

TEST(SaveAsEncoding, Windows1252WhenEverythingFitsElseUtf8WithBom) {
    EXPECT_EQ(EncodeTextFile("Grüße €"), "Gr\xFC\xDF" "e \x80");
    EXPECT_EQ(EncodeTextFile("hi \xF0\x9F\x98\x80"), "\xEF\xBB\xBFhi \xF0\x9F\x98\x80");
    EXPECT_EQ(EncodeTextFile("\xD0\x96 \xC3\xBC"), "\xEF\xBB\xBF\xD0\x96 \xC3\xBC");   // ü stays ü too
}

namespace {

class FakeSaveAsHost : public SaveAsHost {
public:
    Fields fields{"anna", "", "Hello"};
    std::string label = "To";
    std::optional<std::string> chosen = std::string("C:\\msg.txt");
    bool writeWorks = true;
    std::vector<std::string> events;
    std::string writtenPath, writtenBytes;

    Fields GatherFields() override { return fields; }
    std::string ToLabel() override { return label; }
    void WarnEmptyText() override { events.push_back("warn empty"); }
    std::optional<std::string> ChooseFileName() override {
        events.push_back("dialog");
        return chosen;
    }
    bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
        events.push_back("write");
        writtenPath = path;
        writtenBytes = bytes;
        return writeWorks;
    }
    void ReportSaveFailed() override { events.push_back("failed"); }
    void ClearModified() override { events.push_back("clear modified"); }
};

using Events = std::vector<std::string>;

}  // namespace

TEST(SaveAs, WritesTheExampleBytesAndClearsTheModifiedFlag) {
    FakeSaveAsHost host;
    EXPECT_EQ(SaveMessageAs(host), SaveAsOutcome::Saved);
    EXPECT_EQ(host.writtenBytes, "- Telvoro Pagelark -\r\n\r\nTo: anna\r\nCC: \r\n\r\nHello");
    EXPECT_EQ(host.writtenPath, "C:\\msg.txt");
    EXPECT_EQ(host.events, (Events{"dialog", "write", "clear modified"}));
}

TEST(SaveAs, BodyLineBreakWrittenOnceAndGermanLabel) {
    FakeSaveAsHost host;
    host.fields = {"Team", "x@y.de", "eins\r\nzwei"};
    host.label = "An";
    SaveMessageAs(host);
    EXPECT_EQ(host.writtenBytes, "- Telvoro Pagelark -\r\n\r\nAn: Team\r\nCC: x@y.de\r\n\r\neins\r\nzwei");
}

TEST(SaveAs, EmptyTextWarnsWithoutADialog) {
    FakeSaveAsHost host;
    host.fields.body.clear();
    EXPECT_EQ(SaveMessageAs(host), SaveAsOutcome::EmptyText);
    EXPECT_EQ(host.events, (Events{"warn empty"}));
}

TEST(SaveAs, CancelledDialogWritesNothing) {
    FakeSaveAsHost host;
    host.chosen.reset();
    EXPECT_EQ(SaveMessageAs(host), SaveAsOutcome::Cancelled);
    EXPECT_EQ(host.events, (Events{"dialog"}));
}

TEST(SaveAs, AFileThatCannotBeWrittenKeepsTheModifiedFlag) {
    FakeSaveAsHost host;
    host.writeWorks = false;
    EXPECT_EQ(SaveMessageAs(host), SaveAsOutcome::Failed);
    EXPECT_EQ(host.events, (Events{"dialog", "write", "failed"}));
}

TEST(SaveAs, TextOutsideWindows1252IsKeptAsUtf8) {
    FakeSaveAsHost host;
    host.fields.body = "Hi \xF0\x9F\x98\x80";
    SaveMessageAs(host);
    EXPECT_EQ(host.writtenBytes, "\xEF\xBB\xBF- Telvoro Pagelark -\r\n\r\nTo: anna\r\nCC: \r\n\r\nHi \xF0\x9F\x98\x80");
}

namespace {
// A page ten characters wide.
size_t TenWide(std::u32string_view line) { return std::min<size_t>(line.size(), 10); }
}  // namespace

TEST(PrintLayout, LinesBreakAtTheirEndsAndAtBlanksThatFit) {
    const auto lines = BreakIntoPrintLines(U"- head -\r\n\r\nthe quick brown fox\nx", TenWide);
    EXPECT_EQ(lines, (std::vector<std::u32string>{U"- head -", U"", U"the quick", U"brown fox", U"x"}));
}

TEST(PrintLayout, AWordWiderThanThePageBreaksInside) {
    EXPECT_EQ(BreakIntoPrintLines(U"abcdefghijklmnopqrstuvwxy", TenWide),
              (std::vector<std::u32string>{U"abcdefghij", U"klmnopqrst", U"uvwxy"}));
    // A printer that fits nothing still makes progress, one character a line.
    EXPECT_EQ(BreakIntoPrintLines(U"abc", [](std::u32string_view) { return size_t{0}; }),
              (std::vector<std::u32string>{U"a", U"b", U"c"}));
}

TEST(PrintLayout, PagesHoldWholeLinesAndAnEmptyTextIsOnePage) {
    const auto pages = Paginate(7, 3);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[2].first, 6u);
    EXPECT_EQ(pages[2].last, 7u);
    EXPECT_EQ(Paginate(0, 3).size(), 1u);
    EXPECT_EQ(Paginate(5, 0).size(), 5u);   // a page too small for a line still prints one a page
}

// A second print started while the first waits in the spooler ends first; the first job's
// Cancel must still reach the first job, and the second's must never touch it.
TEST(PrintJobs, EachJobKeepsItsOwnCancelAcrossANestedJob) {
    PrintJobs jobs;
    int firstDevice = 0, secondDevice = 0;
    PrintJobState first, second;
    jobs.Add(&firstDevice, &first);
    jobs.Add(&secondDevice, &second);
    jobs.Find(&secondDevice)->cancelled = true;
    EXPECT_FALSE(first.cancelled);
    jobs.Remove(&secondDevice);
    ASSERT_EQ(jobs.Find(&firstDevice), &first);
    jobs.Find(&firstDevice)->cancelled = true;
    EXPECT_TRUE(first.cancelled);
    jobs.Remove(&firstDevice);
    EXPECT_EQ(jobs.Find(&firstDevice), nullptr);
    EXPECT_TRUE(jobs.Empty());
}
