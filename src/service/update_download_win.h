#pragma once
// The package download of the update window, on a worker thread of its own.
//
// The worker never touches a window: it keeps its progress here (under a lock) and posts
// kUpdateProgressMessage / kUpdateFinishedMessage to the window, which reads Snapshot() on its
// own thread. Cancel sets the stop flag (checked between reads) and closes the internet
// handles, which ends a read that is blocked waiting for the server.
#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "common/handle_win.h"

namespace pagelark {

inline constexpr UINT kUpdateProgressMessage = WM_APP + 40;
inline constexpr UINT kUpdateFinishedMessage = WM_APP + 41;

enum class UpdateDownloadResult {
    Running,
    Downloaded,      // the package is in PackagePath() and its signature checked
    NoUpdate,        // no address
    NoConnection,    // no internet root handle (IDS_NO_CONNECTION)
    NoReply,         // no connection to the host (IDS_NO_REPLY)
    RequestFailed,   // the request could not be sent or was refused ("Error on requesting for %s%s")
    ReadFailed,      // a read failed, the download ended early or ran over, or the file could not be written (IDS_UPDATE_DOWNLOAD_ERROR)
    Refused,         // the package is unsigned, not trusted or altered
    Cancelled,
};

struct UpdateDownloadSnapshot {
    UpdateDownloadResult result = UpdateDownloadResult::Running;
    bool connected = false;        // the size is known from here on
    std::uint32_t size = 0;        // 0: unknown
    std::uint32_t received = 0;
    int steps = 0;                 // 0 to 300 with a known size
    std::string requestTarget;     // host and path, for the request error
    std::wstring packagePath;
};

struct UpdateDownloadRequest {
    std::string url;
    std::int32_t announcedSize = 0;
    std::wstring dayFolder;        // full path; created with its parents
    LCID threadLocale = 0;
    HWND window = nullptr;         // receives the two messages
};

class UpdateDownload : public std::enable_shared_from_this<UpdateDownload> {
public:
    // Starts the worker; nullptr when no thread could be started.
    static std::shared_ptr<UpdateDownload> Start(UpdateDownloadRequest request);
    ~UpdateDownload();
    UpdateDownload(const UpdateDownload&) = delete;
    UpdateDownload& operator=(const UpdateDownload&) = delete;

    UpdateDownloadSnapshot Snapshot() const;
    // The window has read the progress; the next step may post again.
    void ProgressSeen();
    // Stops the worker and waits up to `waitMs` for it; true when it has ended. Posts nothing
    // afterwards either way.
    bool Cancel(DWORD waitMs);

private:
    explicit UpdateDownload(UpdateDownloadRequest request) : request_(std::move(request)) {}
    static DWORD WINAPI ThreadMain(void* self);
    UpdateDownloadResult Run();
    UpdateDownloadResult ReadKnownSize(HINTERNET request, std::string& data);
    UpdateDownloadResult ReadUnknownSize(HINTERNET request, std::string& data);
    // Reads up to `want` bytes (fewer only at the end of the data); false on failure or stop.
    bool ReadSome(HINTERNET request, char* into, std::uint32_t want, std::uint32_t& got);
    void Progress(std::uint32_t received, int steps);
    void Finish(UpdateDownloadResult result);
    void Post(UINT message);
    HINTERNET Keep(int slot, HINTERNET handle);
    void CloseHandles();
    void CloseHandlesAside();
    bool Stopped() const;

    const UpdateDownloadRequest request_;
    mutable std::mutex mutex_;
    UpdateDownloadSnapshot state_;
    bool stop_ = false;
    bool progressPending_ = false;
    HINTERNET handles_[3] = {};    // root, connection, request
    KernelHandle thread_;
};

}  // namespace pagelark
