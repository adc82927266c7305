// pagelark-cli on Linux: the settings file, libcurl, the console as UTF-8 byte streams.
#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/installation_store.h"
#include "app/settings_store.h"
#include "cli/cli_platform.h"
#include "cli/curl_transport_posix.h"
#include "cli/ini_store.h"

namespace pagelark::cli {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

void WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

std::optional<std::string> ReadAll(int fd) {
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) return bytes;
        bytes.append(buffer, static_cast<size_t>(got));
    }
}

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

std::string Home() { return EnvOr("HOME", "."); }

std::string DefaultConfigPath() {
    return EnvOr("XDG_CONFIG_HOME", Home() + "/.config") + "/pagelark/pagelark.ini";
}

std::string ProgramDir() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : self.parent_path().string();
}

// Opens a file that holds a secret; refuses one that others than its owner may read.
std::optional<std::string> ReadOwnerOnlyFile(const std::string& path, std::string& error) {
    FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        error = path + ": cannot be opened";
        return std::nullopt;
    }
    struct stat info {};
    if (fstat(fd.get(), &info) != 0) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    if (S_ISREG(info.st_mode)) {
        if ((info.st_mode & 077) != 0) {
            error = path + " holds a password and can be read by others: chmod 600 '" + path + "'";
            return std::nullopt;
        }
        if (info.st_uid != geteuid()) {
            error = path + " holds a password and belongs to another user";
            return std::nullopt;
        }
    }
    std::optional<std::string> bytes = ReadAll(fd.get());
    if (!bytes) error = path + ": cannot be read";
    return bytes;
}

class PosixClock final : public Clock {
public:
    LocalTime Now() const override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
    }
    int StandardBiasMinutes() const override {
        tzset();
        return static_cast<int>(timezone / 60);   // seconds west of UTC in standard time
    }
};

class PosixPlatform final : public Platform {
public:
    void Out(std::string_view utf8) override { WriteAll(STDOUT_FILENO, utf8); }
    void Err(std::string_view utf8) override { WriteAll(STDERR_FILENO, utf8); }
    std::optional<std::string> ReadStandardInput() override { return ReadAll(STDIN_FILENO); }
    std::optional<std::string> ReadSecretFile(const std::string& path, std::string& error) override {
        return ReadOwnerOnlyFile(path, error);
    }

    bool LoadConfiguration(const std::optional<std::string>& configPath, Configuration& out,
                           std::string& error) override {
        const std::string path = configPath.value_or(DefaultConfigPath());
        std::string text;
        std::error_code ec;
        // Without a settings file the defaults apply (count and normalize need none), unless
        // one was named.
        if (configPath || std::filesystem::exists(path, ec)) {
            std::optional<std::string> bytes = ReadOwnerOnlyFile(path, error);
            if (!bytes) return false;
            text = std::move(*bytes);
        }
        IniFile file = IniFile::Parse(text);
        if (!file.Problems().empty()) {
            error = path + ", " + file.Problems().front();
            return false;
        }
        out.caFile = file.Get("Installation", "CaFile").value_or("");
        const IniRegistryStore store(std::move(file));
        LoadSettings(store, out.settings, 1033);
        out.installation = ReadInstallationValues(store);
        out.checkList = LoadCheckList(ProgramDir());
        return true;
    }

    std::shared_ptr<HttpTransport> Transport(const Configuration& configuration) override {
        return std::make_shared<CurlTransport>(configuration.caFile);
    }
    std::shared_ptr<const Clock> SystemClock() override { return std::make_shared<PosixClock>(); }

    std::shared_ptr<RequestLog> OpenRequestLog() override {
        auto log = std::make_shared<RequestLog>();
        const std::filesystem::path dir =
            std::filesystem::path(EnvOr("XDG_STATE_HOME", Home() + "/.local/state")) / "pagelark";
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        log->Open((dir / "Pagelark.log").string());
        return log;
    }
};

}  // namespace
}  // namespace pagelark::cli

int main(int argc, char** argv) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    const std::vector<std::string> args(argv + 1, argv + argc);
    pagelark::cli::PosixPlatform platform;
    const int code = pagelark::cli::Run(args, platform);
    curl_global_cleanup();
    return code;
}
