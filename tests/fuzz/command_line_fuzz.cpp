// libFuzzer target: the program's command line as any starter may pass it (a shortcut, a logon
// entry, a second start), through the switch tests start-up makes, after the UTF-16 command line
// has become UTF-8 text as the program reads it; and the same bytes, cut at zero bytes into
// arguments, through the command-line sender's option parser.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "cli/cli_options.h"
#include "common/text_encoding.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pagelark;
    // The program narrows the command line to UTF-8; a malformed sequence becomes U+FFFD there too.
    const std::string commandLine = EncodeUtf8(DecodeUtf8(std::string_view(reinterpret_cast<const char*>(data), size)));
    for (std::string_view sw : {kAutoSwitch, kConfigSwitch}) {
        const bool found = HasSwitch(commandLine, sw);
        // A substring test: adding text around never loses the switch, and the switch alone is found.
        Check(!found || HasSwitch("x" + commandLine + "x", sw));
        Check(found == (commandLine.find(sw) != std::string::npos));
        Check(HasSwitch(commandLine + std::string(sw), sw));
    }

    std::vector<std::string> args;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start <= bytes.size();) {
        const size_t zero = std::min(bytes.find('\0', start), bytes.size());
        args.emplace_back(bytes.substr(start, zero - start));
        start = zero + 1;
    }
    const cli::ParseResult parsed = cli::ParseCommandLine(args);
    if (parsed.error.empty() && parsed.options.at) (void)cli::SendTimeFromAt(*parsed.options.at);
    for (const std::string& arg : args) {
        if (const auto time = cli::SendTimeFromAt(arg)) Check(time->size() == 16);
    }
    return 0;
}
