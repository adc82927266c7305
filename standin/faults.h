#pragma once
// Switchable misbehaviour of the message servers, for tests and demos.
#include <mutex>
#include <optional>
#include <string>

namespace pagelark::standin {

enum class FaultMode { kNone, kError, kLong, kGarbage, kHttp500, kDrop, kDelay };

std::optional<FaultMode> ParseFaultMode(const std::string& name);
const char* FaultModeName(FaultMode mode);

struct Fault {
    FaultMode mode = FaultMode::kNone;
    int code = 0;          // service error code for kError
    int delay_ms = 0;      // for kDelay
    int remaining = 0;     // requests still affected; 0 = until cleared
};

enum class ServerRole { kPrimary, kSecondary };

class FaultSwitch {
public:
    void Set(ServerRole role, const Fault& fault);
    void Clear();
    // The fault for the next request on that server, counting it down.
    std::optional<Fault> Take(ServerRole role);

private:
    std::mutex mutex_;
    Fault faults_[2];
};

// How update packages are delivered: normally (with Content-Length), without a length, cut off
// at half their size, or paused after half of them for delay_ms.
enum class DownloadMode { kNormal, kNoLength, kShort, kDelay };
std::optional<DownloadMode> ParseDownloadMode(const std::string& name);
const char* DownloadModeName(DownloadMode mode);

struct DownloadFault {
    DownloadMode mode = DownloadMode::kNormal;
    int delay_ms = 0;
};

class DownloadSwitch {
public:
    void Set(const DownloadFault& fault);
    DownloadFault Get();

private:
    std::mutex mutex_;
    DownloadFault fault_;
};

// The reply of a switched fault: "error" gives a failed status with the code, "long" pads a valid
// reply past the 255 bytes the client reads, "garbage" gives random bytes with NULs and no line ends.
std::string ErrorReply(bool registration, int code);
std::string PaddedReply(const std::string& reply, size_t total);
std::string GarbageReply();

}  // namespace pagelark::standin
