// libFuzzer target: the program's command line as any starter may pass it (a shortcut, a logon
// entry, a second start), through the switch tests start-up makes, after the UTF-16 command line
// has become UTF-8 text as the program reads it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/command_line.h"
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
    return 0;
}
