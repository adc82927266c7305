#include "mailclients/oe_integration_win.h"

#include <utility>

#include "common/wide_string_win.h"
#include "ids_addressbooks.h"
#include "mailclients/mail_connector.h"
#include "mailclients/oe_message_source.h"
#include "ui/resources_win.h"

namespace pagelark {
namespace {

constexpr wchar_t kTimerWindowClass[] = L"Pagelark.MailConnectorTimer";
constexpr UINT_PTR kButtonTimer = 1;

Dispatch CreateConnectorObject(const wchar_t* progId) {
    CLSID classId{};
    HRESULT hr = CLSIDFromProgID(progId, &classId);
    if (FAILED(hr)) ThrowFailure(hr, SystemErrorText(hr) + " (" + Narrow(progId) + ")");
    IDispatch* object = nullptr;
    hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(&object));
    if (FAILED(hr)) ThrowFailure(hr, SystemErrorText(hr) + " (" + Narrow(progId) + ")");
    if (!object) ThrowFailure(E_NOINTERFACE);
    return Dispatch(object);
}

std::string CurrentIdentity() {
    return CreateConnectorObject(connector::kIdentityProgId).GetText(connector::kCurrentIdentity);
}

void Advise(const Dispatch& source, ConnectorEventSink* sink) {
    Variant argument = Variant::Object(sink);
    source.Call(connector::kAdvise, {&argument});
}

// Unadvise on the way out: a connector that fails here is let go all the same.
void Unadvise(const Dispatch& source) {
    if (!source) return;
    try {
        source.Call(connector::kUnadvise);
    } catch (const AutomationFailure&) {
    }
}

void RegisterTimerClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = DefWindowProcW;   // replaced per window below
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kTimerWindowClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

OutlookExpressSide::OutlookExpressSide(OutlookExpressHooks hooks) : hooks_(std::move(hooks)) {}

OutlookExpressSide::~OutlookExpressSide() { Stop(false); }

void OutlookExpressSide::Report(const AutomationFailure& failure, bool show) {
    if (hooks_.log) hooks_.log("ERROR: OEAPI: " + failure.text + "\n");
    if (show && hooks_.showFailure) hooks_.showFailure(Widen(failure.text));
}

bool OutlookExpressSide::Start(std::wstring& failure) {
    const auto log = [this](const char* line) {
        if (hooks_.log) hooks_.log(line);
    };
    log("============= OEAPI initialization ================\n");
    if (!hook_) {
        hook_ = LoadLibraryW(connector::kHookLibrary);
        if (hook_) log("oehook.dll loaded successfully\n");
    }
    try {
        if (!timerWindow_) {
            RegisterTimerClass();
            timerWindow_ = CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                           GetModuleHandleW(nullptr), nullptr);
            if (!timerWindow_) ThrowFailure(HRESULT_FROM_WIN32(GetLastError()));
            SetWindowLongPtrW(timerWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            SetWindowLongPtrW(timerWindow_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TimerProc));
        }
        if (!init_) {
            Dispatch init = CreateConnectorObject(connector::kInitProgId);
            EventSinkRef sink(ConnectorEventSink::Create({
                {connector::kOnInit, [this] { OnClientReady(); }},
                {connector::kOnShutdown, [this] { OnClientClosed(); }},
            }));
            Advise(init, sink.get());
            init_ = std::move(init);
            initSink_ = std::move(sink);
            log("OEAPIInit initialized successfully\n");
        }
        if (!folders_) {
            folders_ = CreateConnectorObject(connector::kFolderManagerProgId);
            log("OEFolderManager initialized successfully\n");
        }
        const std::string identity = CurrentIdentity();
        if (!life_.Started(identity) && life_.IdentityRead(identity)) {
            // Started before under another identity: its folders are not this one's.
            folders_.Reset();
            folders_ = CreateConnectorObject(connector::kFolderManagerProgId);
        }
        return true;
    } catch (const AutomationFailure& error) {
        if (hooks_.log) hooks_.log("ERROR: OEAPI initialization failed: " + error.text + "\n");
        // A class that is not registered means no connector is installed: the user is told so
        // in words rather than by the code (the log keeps the code).
        const bool missing = error.code == CO_E_CLASSSTRING || error.code == REGDB_E_CLASSNOTREG;
        failure = missing ? LoadText(IDS_OE_CONNECTOR_MISSING) : Widen(error.text);
        Stop(false);
        return false;
    }
}

void OutlookExpressSide::OnClientReady() {
    if (!life_.ClientReady()) return;
    try {
        client_ = CreateConnectorObject(connector::kClientProgId);
        if (life_.IdentityRead(CurrentIdentity())) {
            // Another identity has other folders: the folder manager is made for it anew.
            folders_.Reset();
            folders_ = CreateConnectorObject(connector::kFolderManagerProgId);
        }
    } catch (const AutomationFailure& error) {
        life_.ClientClosed();
        ReleaseClientObjects();
        Report(error, true);
        return;
    }
    // The client is given a moment to finish building its window; the user interface goes on.
    if (life_.ScheduleButton(hooks_.integrate && hooks_.integrate()) && timerWindow_)
        SetTimer(timerWindow_, kButtonTimer, connector::kButtonDelayMs, nullptr);
}

void OutlookExpressSide::AddButton() {
    if (!life_.ButtonDue() || !client_) return;
    try {
        toolbar_ = client_.CallObject(connector::kGetToolbar);
        std::wstring folder = hooks_.programDir;
        if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
        Variant caption(LoadTextUtf8(IDS_OE_BUTTON_CAPTION));
        Variant image(Narrow(folder + connector::kButtonImage));
        Variant highlighted(Narrow(folder + connector::kButtonImage));
        Dispatch button = toolbar_.CallObject(connector::kCreateButton, {&caption, &image, &highlighted});
        EventSinkRef sink(ConnectorEventSink::Create({{connector::kOnClick, [this] { OnClick(); }}}));
        Advise(button, sink.get());
        button_ = std::move(button);
        buttonSink_ = std::move(sink);
        button_.PutText(connector::kTooltip, LoadTextUtf8(IDS_OE_BUTTON_TOOLTIP));
        life_.ButtonMade();
    } catch (const AutomationFailure& error) {
        Unadvise(button_);
        buttonSink_.Reset();
        button_.Reset();
        toolbar_.Reset();
        Report(error, true);
    }
}

void OutlookExpressSide::OnClientClosed() {
    if (!life_.ClientClosed()) return;
    if (timerWindow_) KillTimer(timerWindow_, kButtonTimer);
    ReleaseClientObjects();
}

void OutlookExpressSide::ReleaseClientObjects() {
    Unadvise(button_);
    buttonSink_.Reset();
    button_.Reset();
    toolbar_.Reset();
    client_.Reset();
}

void OutlookExpressSide::OnClick() {
    if (life_.ClickOpensWindow() && hooks_.openMessageWindow) hooks_.openMessageWindow();
}

bool OutlookExpressSide::FileMessage(const MessageRecord& record, FolderKind kind, const std::string& senderText) {
    if (!life_.CanFileMessages(true) || !folders_) return false;
    try {
        Variant number(static_cast<long>(kind));
        const Dispatch folder = folders_.CallObject(connector::kGetStandardFolder, {&number});
        Variant source(OutlookExpressMessageSource(record, senderText));
        Variant flags(0L);
        folder.Call(connector::kCreateMessage, {&source, &flags});
        return true;
    } catch (const AutomationFailure& error) {
        Report(error, true);
        return false;
    }
}

void OutlookExpressSide::Stop(bool showFailures) {
    if (timerWindow_) {
        KillTimer(timerWindow_, kButtonTimer);
        DestroyWindow(timerWindow_);
        timerWindow_ = nullptr;
    }
    const bool closeClient = life_.Stop();
    if (closeClient && client_) {
        try {
            client_.Call(connector::kClose);
        } catch (const AutomationFailure& error) {
            Report(error, showFailures);
        }
    }
    ReleaseClientObjects();
    Unadvise(init_);
    initSink_.Reset();
    init_.Reset();
    folders_.Reset();
    // Last: the connector's objects may live in the hook library's company.
    if (hook_) {
        FreeLibrary(hook_);
        hook_ = nullptr;
    }
}

LRESULT CALLBACK OutlookExpressSide::TimerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kButtonTimer) {
        KillTimer(window, kButtonTimer);
        if (auto* side = reinterpret_cast<OutlookExpressSide*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            side->AddButton();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace pagelark
