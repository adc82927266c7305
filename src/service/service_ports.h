#pragma once
// The narrow interfaces through which the service client meets the platform. The Windows build
// implements them with WinInet, the system clock, the resources and message boxes; tests fake them.
#include <cstdint>
#include <memory>
#include <string>

namespace pagelark {

// Local wall-clock time to the minute.
struct LocalTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
};

struct FetchResult {
    bool ok = false;
    std::uint32_t errorCode = 0;   // the system's error code when !ok
    std::string body;              // at most 255 bytes, as read
};

// One internet handle: lives for one request. Fetch may be called from any thread.
class HttpSession {
public:
    virtual ~HttpSession() = default;
    // Opens the address and reads the answer once (at most 255 bytes). A failed read is a
    // success with an empty body.
    virtual FetchResult Fetch(const std::string& address) = 0;
};

struct ProxySetting {
    bool useProxy = false;
    std::string proxyText;   // "%s:%d" of address and port, formatted in every case
};

class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    // Opens an internet handle, direct or through the named proxy; nullptr when that fails.
    // Must be callable from several threads at once.
    virtual std::unique_ptr<HttpSession> Open(const ProxySetting& proxy) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
    // Minutes to add to local standard time to get UTC (UTC+1 gives -60); daylight saving ignored.
    virtual int StandardBiasMinutes() const = 0;
};

// The user-visible texts by string number, in a given language. Callable from any thread.
class TextSource {
public:
    virtual ~TextSource() = default;
    virtual std::string Text(std::uint16_t languageId, int id) const = 0;
};

// What the requests need from the user-facing side; called on the user-interface thread only.
class ServiceUserInterface {
public:
    virtual ~ServiceUserInterface() = default;
    virtual void ShowError(const std::string& text) = 0;
    virtual void ShowWarning(const std::string& text) = 0;
    // Starts the system's Internet Connection Wizard; false when the system has none.
    virtual bool StartConnectionWizard() = 0;
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
};

}  // namespace pagelark
