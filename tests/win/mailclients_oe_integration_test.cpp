// The Outlook Express side against the connector stand-in loaded into this process: the start's
// log lines, the button after the wait (which keeps the message loop running), the click, the
// sent copy, a client that closes during the wait, events after the stop, and the receiver that
// refuses calls from any thread but its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "address_book_doubles.h"
#include "connector_double.h"
#include "mailclients/address_books_win.h"
#include "mailclients/oe_event_sink_win.h"
#include "mailclients/oe_integration_win.h"

namespace pagelark {
namespace {

using namespace std::chrono_literals;
using blackbox::ConnectorDouble;

// Runs this thread's message loop until `condition` holds or `timeout` passes.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        if (condition()) return true;
        std::this_thread::sleep_for(10ms);
    }
    return condition();
}

// A control command sent from this thread (the control window is ours).
long Control(const std::string& command) {
    HWND control = FindWindowW(L"PagelarkConnectorDouble.Control", nullptr);
    if (!control) return -1;
    COPYDATASTRUCT data{0, static_cast<DWORD>(command.size()), const_cast<char*>(command.data())};
    return static_cast<long>(SendMessageW(control, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
}

class OeIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        OutlookExpressHooks hooks;
        hooks.log = [this](const std::string& line) { log_ += line; };
        hooks.integrate = [this] { return integrate_; };
        hooks.openMessageWindow = [this] { ++opened_; };
        hooks.showFailure = [this](const std::wstring& text) { failures_.push_back(text); };
        hooks.programDir = L"C:\\Program Files\\Pagelark\\";
        side_ = std::make_unique<OutlookExpressSide>(std::move(hooks));
    }
    void TearDown() override {
        side_.reset();
        CoUninitialize();
    }

    std::string log_;
    bool integrate_ = true;
    int opened_ = 0;
    std::vector<std::wstring> failures_;
    std::unique_ptr<OutlookExpressSide> side_;
};

TEST_F(OeIntegrationTest, ButtonAfterTheWaitClickAndSentCopy) {
    ConnectorDouble connector("Main Identity");
    std::wstring failure;
    ASSERT_TRUE(side_->Start(failure)) << std::string(failure.begin(), failure.end());
    EXPECT_EQ(log_, "============= OEAPI initialization ================\n"
                    "OEAPIInit initialized successfully\n"
                    "OEFolderManager initialized successfully\n");
    EXPECT_EQ(side_->stage(), OeStage::Started);
    ASSERT_TRUE(side_->Start(failure));   // a second start keeps every object
    EXPECT_EQ(log_.find("OEAPIInit", log_.find("OEAPIInit") + 1), std::string::npos);

    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Control("start"), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 400ms);   // the wait does not block
    EXPECT_TRUE(connector.Buttons().empty());
    ASSERT_TRUE(PumpUntil([&] { return !connector.Buttons().empty() && !connector.Buttons()[0].tooltip.empty(); }));
    const auto button = connector.Buttons()[0];
    EXPECT_EQ(button.caption, "New SMS");
    EXPECT_EQ(button.image, "C:\\Program Files\\Pagelark\\Data\\button.bmp");
    EXPECT_EQ(button.highlighted, button.image);

    EXPECT_EQ(Control("click 0"), 1);
    EXPECT_EQ(opened_, 1);

    MessageRecord record;
    record.To = "+491711234567";
    record.Subject = "SMS-Message";
    record.Body = "Hi";
    EXPECT_TRUE(side_->FileMessage(record, FolderKind::Drafts, "me (+491701234567)"));
    ASSERT_EQ(connector.Messages().size(), 1u);
    EXPECT_EQ(connector.Messages()[0].folder, 5);
    EXPECT_EQ(connector.Messages()[0].source,
              "From: me (+491701234567)\nTo: +491711234567\nCC: \nSubject: SMS-Message\n\nHi");

    side_->Stop(true);
    EXPECT_TRUE(connector.Buttons().empty());    // the client was told to close our side
    EXPECT_EQ(Control("start"), 0);              // no receiver left
    EXPECT_FALSE(side_->FileMessage(record, FolderKind::SentItems, "me"));
    EXPECT_TRUE(failures_.empty());
}

TEST_F(OeIntegrationTest, ClientClosingDuringTheWaitGetsNoButtonAndIdentityChangeIsFollowed) {
    ConnectorDouble connector("Main Identity");
    std::wstring failure;
    ASSERT_TRUE(side_->Start(failure));
    EXPECT_EQ(Control("start"), 1);
    EXPECT_EQ(Control("close"), 1);
    PumpUntil([] { return false; }, 700ms);
    EXPECT_TRUE(connector.Buttons().empty());
    EXPECT_TRUE(failures_.empty());

    EXPECT_EQ(Control("identity Work"), 1);
    EXPECT_EQ(Control("start"), 1);
    MessageRecord record;
    EXPECT_TRUE(side_->FileMessage(record, FolderKind::SentItems, "me"));
    ASSERT_EQ(connector.Messages().size(), 1u);
    EXPECT_EQ(connector.Messages()[0].identity, "Work");

    integrate_ = false;   // switched off meanwhile: the next client start brings no button
    EXPECT_EQ(Control("close"), 1);
    EXPECT_EQ(Control("start"), 1);
    PumpUntil([] { return false; }, 700ms);
    EXPECT_TRUE(connector.Buttons().empty());
}

TEST_F(OeIntegrationTest, MissingConnectorFailsTheStartWithItsReason) {
    ConnectorDouble connector("Main Identity", false);
    std::wstring failure;
    EXPECT_FALSE(side_->Start(failure));
    EXPECT_EQ(failure, L"No connector for Outlook Express / Windows Mail is installed on this computer.");
    EXPECT_NE(log_.find("ERROR: OEAPI initialization failed: "), std::string::npos) << log_;
    EXPECT_NE(log_.find("(Pagelark.MailConnector.Init)"), std::string::npos) << log_;
    EXPECT_EQ(side_->stage(), OeStage::Stopped);
    EXPECT_TRUE(failures_.empty());   // the caller decides whether the user sees it
}

std::string ReadMapiLog(const AddressBooks& books) {
    std::string text = testing::ReadAll(books.mapiLogPath());
    std::string lines;
    for (char c : text)
        if (c != '\r') lines += c;
    return lines;
}

// The address books around the Outlook Express side: without a connector the start fails quietly
// and the contacts are still read; the stop from the options ends MAPI and the log only after the
// readings, and the next start writes on at the log's end.
TEST(AddressBooksOutlookExpress, MissingConnectorStillReadsAndStopThenStartKeepsTheLog) {
    CoInitialize(nullptr);
    {
        testing::AddressBookDoubles doubles;
        testing::WriteAll(doubles.wabData(), "container\tid=PAB\tname=Main Identity\n"
                                             "entry\tid=W1\tin=PAB\tkind=person\tdisplay=Wanda\tmobile=+491719999999\n");
        const AddressBookOptions options{true, true, false};
        AddressBooks books;
        {
            ConnectorDouble absent("Main Identity", false);
            EXPECT_FALSE(books.Init(options, doubles.folder()));
        }
        books.WaitForReadings();
        ASSERT_NE(books.List(2), nullptr);
        EXPECT_EQ(books.List(2)->size(), 1u);
        EXPECT_NE(ReadMapiLog(books).find("ERROR: OEAPI initialization failed: "), std::string::npos);

        ConnectorDouble connector;
        EXPECT_TRUE(books.Init(options, doubles.folder(), nullptr, true));
        EXPECT_EQ(books.outlookExpressStage(), OeStage::Started);
        books.WaitForReadings();
        books.StopMailIntegration({true, false, false});
        EXPECT_EQ(books.outlookExpressStage(), OeStage::Stopped);
        EXPECT_FALSE(books.mapiStarted());
        books.ReloadAll({true, false, false});   // stopped: no reading starts (it would empty list 2)
        books.WaitForReadings();
        books.LogLine("dropped while the log is closed\n");
        EXPECT_EQ(books.List(2)->size(), 1u);

        EXPECT_TRUE(books.Init(options, doubles.folder(), nullptr, true));
        books.WaitForReadings();
        const std::string log = ReadMapiLog(books);
        const size_t first = log.find("OEAPIInit initialized successfully");
        ASSERT_NE(first, std::string::npos) << log;
        EXPECT_NE(log.find("OEAPIInit initialized successfully", first + 1), std::string::npos) << log;
        EXPECT_EQ(log.find("dropped"), std::string::npos);
        EXPECT_EQ(log.find("ERROR: OEAPI initialization failed: "), log.rfind("ERROR: OEAPI initialization failed: "));
        books.Shutdown();
    }
    CoUninitialize();
}

TEST(ConnectorEventSink, CallsFromAnotherThreadAreRefused) {
    int called = 0;
    EventSinkRef sink(ConnectorEventSink::Create({{L"OnClick", [&] { ++called; }}}));
    LPOLESTR name = const_cast<LPOLESTR>(L"onclick");
    DISPID id = DISPID_UNKNOWN;
    ASSERT_EQ(sink.get()->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    DISPPARAMS none{};
    EXPECT_EQ(sink.get()->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(called, 1);

    HRESULT fromElsewhere = S_OK;
    std::thread([&] {
        fromElsewhere = sink.get()->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    }).join();
    EXPECT_EQ(fromElsewhere, RPC_E_WRONG_THREAD);
    EXPECT_EQ(called, 1);

    // Events without a handler are taken and ignored.
    LPOLESTR other = const_cast<LPOLESTR>(L"OnDatabaseChange");
    ASSERT_EQ(sink.get()->GetIDsOfNames(IID_NULL, &other, 1, 0, &id), S_OK);
    EXPECT_EQ(sink.get()->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(called, 1);
}

}  // namespace
}  // namespace pagelark
