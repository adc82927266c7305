#include "service/update_download_win.h"

#include <shlobj.h>
#include <wininet.h>

#include "common/wide_string_win.h"
#include "service/package_verify_win.h"
#include "service/update_progress.h"
#include "service/update_rules.h"

namespace pagelark {
namespace {

// Larger than any package we ship by far; an endless body must not eat the memory.
constexpr std::uint32_t kMaxPackageBytes = 512u * 1024 * 1024;

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    const std::wstring partial = path + L".part";
    bool ok = false;
    {
        const KernelHandle file = OwnFile(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD written = 0;
        ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
             written == bytes.size();
    }   // closed before the move
    // Only a complete file ever carries the package's name.
    if (!ok || !MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(partial.c_str());
        return false;
    }
    return true;
}

// Takes an array of three handles (root, connection, request) and closes them, the innermost first.
DWORD WINAPI CloseInternetHandles(void* param) {
    std::unique_ptr<HINTERNET[]> handles(static_cast<HINTERNET*>(param));
    for (int i = 2; i >= 0; --i)
        if (handles[i]) InternetCloseHandle(handles[i]);
    return 0;
}

}  // namespace

std::shared_ptr<UpdateDownload> UpdateDownload::Start(UpdateDownloadRequest request) {
    std::shared_ptr<UpdateDownload> download(new UpdateDownload(std::move(request)));
    // The worker holds its own reference: a window that goes away never pulls the state from under it.
    auto* reference = new std::shared_ptr<UpdateDownload>(download);
    download->thread_.reset(CreateThread(nullptr, 0, &UpdateDownload::ThreadMain, reference, 0, nullptr));
    if (!download->thread_) {
        delete reference;
        return nullptr;
    }
    return download;
}

UpdateDownload::~UpdateDownload() { CloseHandles(); }

DWORD WINAPI UpdateDownload::ThreadMain(void* param) {
    std::unique_ptr<std::shared_ptr<UpdateDownload>> self(static_cast<std::shared_ptr<UpdateDownload>*>(param));
    const UpdateDownloadResult result = (*self)->Run();
    (*self)->CloseHandles();
    (*self)->Finish(result);
    return 0;
}

UpdateDownloadSnapshot UpdateDownload::Snapshot() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void UpdateDownload::ProgressSeen() {
    std::lock_guard lock(mutex_);
    progressPending_ = false;
}

bool UpdateDownload::Cancel(DWORD waitMs) {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    CloseHandlesAside();
    return !thread_ || WaitForSingleObject(thread_.get(), waitMs) == WAIT_OBJECT_0;
}

// Closing a request handle ends a read blocked on it on Windows, but under Wine the close itself
// waits until that read returns, which may take as long as the server stalls. The caller is the
// user interface, so the handles are closed on a thread of their own.
void UpdateDownload::CloseHandlesAside() {
    auto* handles = new HINTERNET[3];
    {
        std::lock_guard lock(mutex_);
        for (int i = 0; i < 3; ++i) {
            handles[i] = handles_[i];
            handles_[i] = nullptr;
        }
    }
    HANDLE closer = CreateThread(nullptr, 0, &CloseInternetHandles, handles, 0, nullptr);
    if (closer)
        CloseHandle(closer);
    else
        CloseInternetHandles(handles);   // no thread to spare: close them here rather than leak them
}

bool UpdateDownload::Stopped() const {
    std::lock_guard lock(mutex_);
    return stop_;
}

HINTERNET UpdateDownload::Keep(int slot, HINTERNET handle) {
    std::lock_guard lock(mutex_);
    if (stop_ && handle) {
        InternetCloseHandle(handle);
        return nullptr;
    }
    handles_[slot] = handle;
    return handle;
}

void UpdateDownload::CloseHandles() {
    HINTERNET handles[3];
    {
        std::lock_guard lock(mutex_);
        for (int i = 0; i < 3; ++i) {
            handles[i] = handles_[i];
            handles_[i] = nullptr;
        }
    }
    for (int i = 2; i >= 0; --i)
        if (handles[i]) InternetCloseHandle(handles[i]);
}

void UpdateDownload::Post(UINT message) {
    // Under the lock, so that nothing is posted once Cancel has returned.
    if (!stop_ && request_.window) PostMessageW(request_.window, message, 0, 0);
}

void UpdateDownload::Progress(std::uint32_t received, int steps) {
    std::lock_guard lock(mutex_);
    state_.received = received;
    state_.steps = steps;
    if (progressPending_) return;   // the window shows the newest numbers when it gets to it
    progressPending_ = true;
    Post(kUpdateProgressMessage);
}

void UpdateDownload::Finish(UpdateDownloadResult result) {
    std::lock_guard lock(mutex_);
    state_.result = stop_ ? UpdateDownloadResult::Cancelled : result;
    Post(kUpdateFinishedMessage);
}

bool UpdateDownload::ReadSome(HINTERNET request, char* into, std::uint32_t want, std::uint32_t& got) {
    got = 0;
    while (got < want) {
        if (Stopped()) return false;
        DWORD read = 0;
        if (!InternetReadFile(request, into + got, want - got, &read)) return false;
        if (read == 0) break;
        got += read;
    }
    return !Stopped();
}

UpdateDownloadResult UpdateDownload::ReadKnownSize(HINTERNET request, std::string& data) {
    const std::uint32_t size = state_.size;
    DownloadTally tally(size);
    data.assign(size, '\0');
    const std::uint32_t block = UpdateBlockLength(size);
    for (int step = 1; step <= kUpdateProgressSteps; ++step) {
        std::uint32_t got = 0;
        if (!ReadSome(request, data.data() + tally.Received(), block, got)) return UpdateDownloadResult::ReadFailed;
        tally.Add(got);
        Progress(tally.Received(), step);
        if (got < block) break;   // the data ended early; the tally tells
    }
    std::uint32_t got = 0;
    if (tally.Remaining() > 0 && !ReadSome(request, data.data() + tally.Received(), tally.Remaining(), got))
        return UpdateDownloadResult::ReadFailed;
    tally.Add(got);
    // A body longer than announced is not the package that was announced either.
    char probe = 0;
    std::uint32_t extra = 0;
    if (!ReadSome(request, &probe, 1, extra)) return UpdateDownloadResult::ReadFailed;
    if (extra) tally.NoteOverrun();
    Progress(tally.Received(), kUpdateProgressSteps);
    return tally.Complete() ? UpdateDownloadResult::Downloaded : UpdateDownloadResult::ReadFailed;
}

UpdateDownloadResult UpdateDownload::ReadUnknownSize(HINTERNET request, std::string& data) {
    DownloadTally tally(0);
    for (;;) {
        if (tally.Received() > kMaxPackageBytes) return UpdateDownloadResult::ReadFailed;
        data.resize(tally.Received() + kUnknownSizePass);
        std::uint32_t got = 0;
        if (Stopped()) return UpdateDownloadResult::ReadFailed;
        DWORD read = 0;
        if (!InternetReadFile(request, data.data() + tally.Received(), kUnknownSizePass, &read))
            return UpdateDownloadResult::ReadFailed;
        got = read;
        if (got == 0) break;
        tally.Add(got);
        Progress(tally.Received(), 0);
    }
    data.resize(tally.Received());
    return tally.Complete() ? UpdateDownloadResult::Downloaded : UpdateDownloadResult::ReadFailed;
}

UpdateDownloadResult UpdateDownload::Run() {
    if (request_.url.empty()) return UpdateDownloadResult::NoUpdate;
    if (request_.threadLocale) SetThreadLocale(request_.threadLocale);
    SHCreateDirectoryExW(nullptr, request_.dayFolder.c_str(), nullptr);

    const std::optional<UpdateAddress> address = SplitUpdateAddress(request_.url);
    {
        std::lock_guard lock(mutex_);
        state_.requestTarget = address ? address->host + address->path : request_.url;
    }
    HINTERNET root = Keep(0, InternetOpenW(L"Telvoro", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!root) return Stopped() ? UpdateDownloadResult::Cancelled : UpdateDownloadResult::NoConnection;
    if (!address) return UpdateDownloadResult::RequestFailed;
    HINTERNET connection = Keep(1, InternetConnectW(root, Widen(address->host).c_str(), address->port, nullptr, nullptr,
                                                    INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return UpdateDownloadResult::NoReply;
    const wchar_t* accept[] = {L"*/*", nullptr};
    // Always from the server, and a package of megabytes is kept out of the internet cache.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
    if (address->secure) flags |= INTERNET_FLAG_SECURE;
    HINTERNET request = Keep(2, HttpOpenRequestW(connection, L"GET", Widen(address->path).c_str(), nullptr, nullptr,
                                                 accept, flags, 0));
    // A server that stops sending must not hold the worker for ever (where closing the handle
    // does not end a blocked read, as under Wine).
    DWORD receiveTimeoutMs = 30000;
    if (request) InternetSetOptionW(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &receiveTimeoutMs, sizeof receiveTimeoutMs);
    if (!request || !HttpSendRequestW(request, nullptr, 0, nullptr, 0)) return UpdateDownloadResult::RequestFailed;
    DWORD status = 0;
    DWORD statusSize = sizeof status;
    // An error page is no package.
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &statusSize, nullptr) ||
        status < 200 || status > 299)
        return UpdateDownloadResult::RequestFailed;

    wchar_t length[32] = {};
    DWORD lengthSize = sizeof length;
    std::string lengthText;
    if (HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, length, &lengthSize, nullptr)) lengthText = Narrow(length);
    {
        std::lock_guard lock(mutex_);
        state_.size = ExpectedUpdateSize(lengthText, request_.announcedSize);
        state_.connected = true;
    }
    Progress(0, 0);

    std::string data;
    const UpdateDownloadResult read = state_.size ? ReadKnownSize(request, data) : ReadUnknownSize(request, data);
    if (read != UpdateDownloadResult::Downloaded) return Stopped() ? UpdateDownloadResult::Cancelled : read;

    const std::wstring path = request_.dayFolder + L"\\" + Widen(UpdateFileName(address->path));
    if (!WriteWholeFile(path, data)) return UpdateDownloadResult::ReadFailed;
    CloseHandles();
    if (VerifyUpdatePackage(path) != PackageTrust::Trusted) {
        DeleteFileW(path.c_str());
        return UpdateDownloadResult::Refused;
    }
    std::lock_guard lock(mutex_);
    state_.packagePath = path;
    return UpdateDownloadResult::Downloaded;
}

}  // namespace pagelark
