#include "mailclients/address_books_win.h"

#include <cwchar>
#include <utility>

#include "ids_addressbooks.h"
#include "ui/resources_win.h"
#include "mailclients/mapi_reader_win.h"
#include "mailclients/mapi_writer_win.h"
#include "mailclients/wab_reader_win.h"

namespace pagelark {
namespace {

std::wstring RunningExecutableName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return FileNameOf(path);
        }
        path.resize(path.size() * 2);
    }
}

// MAPI on a reading thread: every thread that calls MAPI initialises it for itself.
class MapiThreadScope {
public:
    explicit MapiThreadScope(const MapiFunctions& mapi) : mapi_(mapi) {
        MAPIINIT_0 init{MAPI_INIT_VERSION, MAPI_MULTITHREAD_NOTIFICATIONS};
        started_ = mapi_.Initialize && SUCCEEDED(mapi_.Initialize(&init));
    }
    ~MapiThreadScope() {
        if (started_) mapi_.Uninitialize();
    }
    MapiThreadScope(const MapiThreadScope&) = delete;
    MapiThreadScope& operator=(const MapiThreadScope&) = delete;

private:
    const MapiFunctions& mapi_;
    bool started_ = false;
};

}  // namespace

std::wstring MapiLogPath(const std::wstring& programDir) {
    wchar_t expanded[MAX_PATH * 2] = {};
    const DWORD length = ExpandEnvironmentStringsW(L"%TEMP%\\Mapi.log", expanded, MAX_PATH * 2);
    if (length == 0 || length > MAX_PATH * 2 || std::wcsstr(expanded, L"%TEMP%")) {
        std::wstring path = programDir;
        if (!path.empty() && path.back() == L'\\') path.pop_back();
        return path + L"\\Mapi.log";
    }
    return expanded;
}

std::wstring WabLogPathBeside(const std::wstring& mapiLogPath) {
    std::wstring path = mapiLogPath;
    const size_t at = path.rfind(L"Mapi.log");
    if (at != std::wstring::npos) path.replace(at, 8, L"WAB.log");
    return path;
}

AddressBooks::AddressBooks() : readers_(lists_, [this](int source, ContactList& list) { Read(source, list); }) {}

AddressBooks::~AddressBooks() { Shutdown(); }

AddressBookOptions AddressBooks::options() const {
    std::lock_guard lock(optionsMutex_);
    return options_;
}

bool AddressBooks::Init(const AddressBookOptions& options, const std::wstring& programDir, HWND owner,
                        bool fromOptions) {
    if (shutDown_) return false;
    bool switchedOn = false;
    {
        std::lock_guard lock(optionsMutex_);
        switchedOn = fromOptions && !options_.integrateOE && options.integrateOE;
        options_ = options;
    }
    if (!initialized_ || stopped_) {
        // The first start empties the log; a start after a stop goes on where it ended.
        const bool append = initialized_;
        initialized_ = true;
        stopped_ = false;
        if (const unsigned long error = mapiLog_.Open(MapiLogPath(programDir), append)) {
            ShowMessage(owner, FillPlaceholders(LoadText(IDS_MAPI_LOG_FAILED), {SystemErrorText(error)}),
                        MB_OK | MB_ICONERROR);
            return false;
        }
    }
    if (options.integrateOutlook && !mapiStarted_) StartMapi();
    const bool connected = !options.integrateOE || StartOutlookExpressHook(programDir, owner, switchedOn);
    // Without the connector the contacts are read all the same: only the toolbar button and the
    // sent copies of Outlook Express are missing.
    readers_.Start(kOutlookSource);
    readers_.Start(kOutlookExpressSource);
    return connected;
}

void AddressBooks::StartMapi() {
    int result = mapi_.Find(RunningExecutableName());
    if (result == 0) {
        const HRESULT hr = mapi_.Initialize();
        result = SUCCEEDED(hr) ? 0 : static_cast<int>(hr);
    }
    mapiStarted_ = result == 0;
    if (mapiStarted_) mapiLog_.WriteText("MAPI initialized successfully...\n");
    else mapiLog_.Write("Error on MAPI initialization: %d\n", result);
}

bool AddressBooks::StartOutlookExpressHook(const std::wstring& programDir, HWND owner, bool showFailure) {
    if (!outlookExpress_) {
        OutlookExpressHooks hooks;
        hooks.log = [this](const std::string& line) { mapiLog_.WriteText(line); };
        hooks.integrate = [this] { return options().integrateOE; };
        hooks.openMessageWindow = [this] {
            if (openOutlookExpress_) openOutlookExpress_();
        };
        hooks.showFailure = [](const std::wstring& text) { ShowMessage(nullptr, text, MB_OK | MB_ICONERROR); };
        hooks.programDir = programDir;
        outlookExpress_ = std::make_unique<OutlookExpressSide>(std::move(hooks));
    }
    std::wstring failure;
    if (outlookExpress_->Start(failure)) return true;
    if (showFailure)
        ShowMessage(owner, FillPlaceholders(LoadText(IDS_OE_START_FAILED), {failure}), MB_OK | MB_ICONERROR);
    return false;
}

bool AddressBooks::FileOutlookExpressMessage(const MessageRecord& record, FolderKind kind,
                                             const std::string& senderText) {
    if (!options().integrateOE || !outlookExpress_) return false;
    return outlookExpress_->FileMessage(record, kind, senderText);
}

void AddressBooks::StopMailIntegration(const AddressBookOptions& options) {
    if (shutDown_) return;
    {
        std::lock_guard lock(optionsMutex_);
        options_ = options;
    }
    if (outlookExpress_) outlookExpress_->Stop(true);
    if (!initialized_ || stopped_) return;
    stopped_ = true;
    EndMapi();
    mapiLog_.Close();
}

void AddressBooks::EndMapi() {
    // Readings check the flag before they touch MAPI; the ones already inside end first.
    const bool started = mapiStarted_.exchange(false);
    readers_.Wait();
    if (started) mapi_.functions().Uninitialize();
}

void AddressBooks::ReloadAll(const AddressBookOptions& options) {
    {
        std::lock_guard lock(optionsMutex_);
        options_ = options;
    }
    if (shutDown_ || stopped_) return;
    readers_.Start(kOutlookSource);
    readers_.Start(kOutlookExpressSource);
}

void AddressBooks::Read(int source, ContactList& list) {
    const AddressBookOptions current = options();
    if (source == kOutlookSource) {
        if (!current.integrateOutlook) return;
        if (!mapiStarted_) {
            mapiLog_.WriteText(std::string(62, '=') + "\n");
            mapiLog_.WriteText("================ Reading Outlook Contacts ====================\n");
            mapiLog_.WriteText("ERROR: MAPI Logon failed...\n");
            return;
        }
        MapiThreadScope scope(mapi_.functions());
        MapiContactReader(mapi_.functions(), mapiLog_).ReadSource(list);
    } else if (source == kOutlookExpressSource) {
        if (!current.integrateOE) return;
        ReadWindowsAddressBook(WabLogPathBeside(mapiLog_.path()), list);
    }
}

void AddressBooks::SaveChanged(int source, ContactList list) {
    const AddressBookOptions current = options();
    if (current.saveChangedNumbers) {
        if (source == kOutlookSource && current.integrateOutlook && mapiStarted_)
            SaveOutlookNumbers(mapi_.functions(), list);
        else if (source == kOutlookExpressSource && current.integrateOE)
            WriteWindowsAddressBook(list);
    }
    // What could not be written keeps its flag in the caller's copy only: the shared list never
    // carries a pending change, so nothing is written twice or behind the user's back.
    for (Contact& contact : list) contact.changed = false;
    if (current.saveChangedNumbers) lists_.Replace(source, std::move(list));
}

void AddressBooks::Shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    if (outlookExpress_) outlookExpress_->Stop(false);
    outlookExpress_.reset();
    EndMapi();   // a reading still inside MAPI ends before MAPI does
    lists_.Clear();
    mapiLog_.Close();
}

}  // namespace pagelark
