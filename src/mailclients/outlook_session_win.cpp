#include "mailclients/outlook_session_win.h"

namespace pagelark {

namespace {

Dispatch ConnectToOutlook() {
    CLSID classId{};
    HRESULT hr = CLSIDFromProgID(L"Outlook.Application", &classId);
    if (FAILED(hr)) ThrowFailure(hr);
    IUnknown* unknown = nullptr;
    hr = CoCreateInstance(classId, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (FAILED(hr)) ThrowFailure(hr);
    Unknown held(unknown);
    // A local server's object is put into the running state before it is used.
    hr = OleRun(unknown);
    if (FAILED(hr)) ThrowFailure(hr);
    IDispatch* application = nullptr;
    hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&application));
    if (FAILED(hr)) ThrowFailure(hr);
    return Dispatch(application);
}

}  // namespace

OutlookSession::OutlookSession(bool logon) {
    application_ = ConnectToOutlook();
    Variant type(std::string("MAPI"));
    mapi_ = application_.CallObject(L"GetNamespace", {&type});
    if (logon) {
        // Profile, password, dialog and new session left out: the current profile.
        Variant profile = Variant::Missing(), password = Variant::Missing(), dialog = Variant::Missing(),
                session = Variant::Missing();
        mapi_.Call(L"Logon", {&profile, &password, &dialog, &session});
        loggedOn_ = true;
    }
}

OutlookSession::~OutlookSession() {
    if (loggedOn_) {
        try {
            mapi_.Call(L"Logoff");
        } catch (const AutomationFailure&) {
            // Nothing to do: the session ends either way.
        }
    }
    mapi_.Reset();
    application_.Reset();
}

Dispatch OutlookSession::DefaultFolder(int number) const {
    Variant folder(static_cast<long>(number));
    return mapi_.CallObject(L"GetDefaultFolder", {&folder});
}

Dispatch OutlookSession::ItemFromId(const std::string& entryId) const {
    Variant id(entryId), store = Variant::Missing();
    return mapi_.CallObject(L"GetItemFromID", {&id, &store});
}

Dispatch OutlookSession::FolderFromId(const std::string& entryId) const {
    Variant id(entryId), store = Variant::Missing();
    return mapi_.CallObject(L"GetFolderFromID", {&id, &store});
}

}  // namespace pagelark
