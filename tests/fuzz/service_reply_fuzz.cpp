// libFuzzer target: any reply bytes through every reply interpretation and the reading helpers.
// Sanitizers catch reads past the reply; the checks below catch broken results.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "service/reply_reader.h"
#include "service/service_replies.h"
#include "service/url_encode.h"

namespace {

class FixedTexts : public pagelark::TextSource {
public:
    std::string Text(std::uint16_t, int id) const override {
        if (id == IDS_SERVICE_FIELD_NAMES) return "A|B";   // too few names on purpose
        return "text " + std::to_string(id) + "\n";
    }
};

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pagelark;
    const std::string received(reinterpret_cast<const char*>(data), size);
    const std::string_view reply = VisibleReply(received);
    Check(reply.size() <= kMaxReplyBytes && reply.find('\0') == std::string_view::npos);

    const FixedTexts source;
    const ServiceTexts texts(source, 1033);
    const LocalTime start{2026, 12, 6, 19, 20};

    const StatusResult status = InterpretStatusReply(reply, start, texts);
    Check(status.code == 0 || status.code == -1);
    if (status.code == -1) {
        Check(!status.lastError.empty() && status.lastError.back() == '\n');
        Check(status.logText.rfind("06.12.26 19:20 ", 0) == 0);
    }
    const RegisterOutcome registered = InterpretRegisterReply(reply, texts);
    Check(registered.result >= -1 && registered.result <= 1);
    Check(registered.result != -1 || !registered.lastError.empty());
    const ActivateOutcome activated = InterpretActivateReply(reply, texts);
    Check(activated.accepted || !activated.lastError.empty());
    const SendOutcome sent = InterpretSendReply(reply, start, texts);
    Check(sent.sent || !sent.lastError.empty());

    for (const char* key : {"status:", "credits:", "error:", "error_msg:", "acctyp:", "e", ":"}) {
        for (ValueEnd end : {ValueEnd::CarriageReturn, ValueEnd::LineFeed, ValueEnd::EndOfReply}) {
            for (std::size_t from = 0; from <= reply.size(); from += 17) {
                if (auto found = FindReplyValueAt(reply, key, end, from)) {
                    // The value is a view into the reply, never past its end.
                    Check(found->value.empty() || (found->value.data() >= reply.data() &&
                                                   found->value.data() + found->value.size() <= reply.data() + reply.size()));
                }
            }
        }
    }
    (void)ReplyBinaryNumber(reply);
    (void)ReplyNumber(reply);

    const std::string encoded = UrlEncode(received);
    for (char c : encoded) {
        const auto b = static_cast<unsigned char>(c);
        Check(b != ' ' && b != '&' && b != '=' && b != '\r' && b != '\n' && b != '#' && b != '?');
    }
    const std::string safe = EscapeUnsafeQueryBytes(received);
    for (char c : safe) {
        const auto b = static_cast<unsigned char>(c);
        Check(b > 0x20 && b < 0x7F && b != '&' && b != '#');
    }
    return 0;
}
