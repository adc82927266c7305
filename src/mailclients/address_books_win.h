#pragma once
// The application's address books: the contact list of each source, the reading threads that fill
// them, MAPI started for the program's life, and the log Mapi.log that the mail-client side
// shares. Owned by the application object from start-up to exit.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "mailclients/address_book_log_win.h"
#include "mailclients/contact_lists.h"
#include "mailclients/mapi_library_win.h"
#include "mailclients/oe_integration_win.h"
#include "model/settings.h"

namespace pagelark {

// The settings the address books follow; a copy is taken for each reading.
struct AddressBookOptions {
    bool integrateOutlook = false;
    bool integrateOE = false;
    bool saveChangedNumbers = false;
};

inline AddressBookOptions AddressBookOptionsOf(const Settings& settings) {
    return {settings.IntegrateOutlook != 0, settings.IntegrateOE != 0, settings.SaveChangedNumbers != 0};
}

class AddressBooks {
public:
    AddressBooks();
    ~AddressBooks();
    AddressBooks(const AddressBooks&) = delete;
    AddressBooks& operator=(const AddressBooks&) = delete;

    // At start-up, and from the options when Outlook Express is integrated: opens Mapi.log (an
    // error box and false when it cannot be made), starts MAPI when Outlook is integrated, starts
    // the Outlook Express side, then reads both sources. When the Outlook Express side cannot
    // start, the failure goes into Mapi.log and false is returned, but the sources are still read;
    // a box tells the user only from the options (`fromOptions`) when the user has just switched
    // Outlook Express on (the options before had it off).
    bool Init(const AddressBookOptions& options, const std::wstring& programDir, HWND owner = nullptr,
              bool fromOptions = false);
    // From the options when Outlook Express is not integrated: stops the Outlook Express side and
    // ends the MAPI use and the log until the next Init, after every reading has ended. The lists
    // read so far stay.
    void StopMailIntegration(const AddressBookOptions& options);
    // Timer 100: reads both sources again (a source still being read is left alone; nothing while
    // the integration is stopped).
    void ReloadAll(const AddressBookOptions& options);
    // What the Outlook Express button's click does (posts the open request); set before Init.
    void SetOutlookExpressOpener(std::function<void()> open) { openOutlookExpress_ = std::move(open); }
    // Files a sent copy in Outlook Express (false when it is not integrated or not started).
    bool FileOutlookExpressMessage(const MessageRecord& record, FolderKind kind, const std::string& senderText);
    OeStage outlookExpressStage() const { return outlookExpress_ ? outlookExpress_->stage() : OeStage::Stopped; }
    // The current list of source 1 or 2; none for another number or before the first reading.
    std::shared_ptr<const ContactList> List(int source) const { return lists_.List(source); }
    // Writes back the numbers of `list` whose changed flag is set (SaveChangedNumbers on) and makes
    // the written list the source's current one. Runs on the calling thread.
    void SaveChanged(int source, ContactList list);
    // At exit, after the mail-client integration stopped: waits for readings, ends MAPI, frees
    // both lists and closes the log.
    void Shutdown();

    // One line into Mapi.log, flushed at once (the Outlook side logs its failures here).
    void LogLine(const std::string& line) { mapiLog_.WriteText(line); }
    const std::wstring& mapiLogPath() const { return mapiLog_.path(); }
    bool mapiStarted() const { return mapiStarted_; }
    // Waits until no reading runs (tests, exit).
    void WaitForReadings() { readers_.Wait(); }

private:
    bool StartOutlookExpressHook(const std::wstring& programDir, HWND owner, bool showFailure);
    void StartMapi();
    void EndMapi();
    void Read(int source, ContactList& list);
    AddressBookOptions options() const;

    mutable std::mutex optionsMutex_;   // options are set on the UI thread and read by readers
    AddressBookOptions options_;
    AddressBookLog mapiLog_;
    MapiLibrary mapi_;
    std::atomic<bool> mapiStarted_{false};   // read by the reading threads
    bool initialized_ = false;
    bool stopped_ = false;   // the integration was stopped from the options: no readings, no log
    bool shutDown_ = false;
    std::function<void()> openOutlookExpress_;
    std::unique_ptr<OutlookExpressSide> outlookExpress_;   // user-interface thread only
    ContactLists lists_;
    ContactReaders readers_;   // last: its threads end before the members they use
};

// Mapi.log's path: %TEMP%\Mapi.log, or the program folder's when TEMP cannot be expanded.
std::wstring MapiLogPath(const std::wstring& programDir);
// WAB.log beside a log: "Mapi.log" in the path replaced by "WAB.log".
std::wstring WabLogPathBeside(const std::wstring& mapiLogPath);

}  // namespace pagelark
