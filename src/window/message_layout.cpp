#include "window/message_layout.h"

namespace pagelark {

std::string BuildMessageLayout(std::string_view toLabel, std::string_view to, std::string_view cc,
                               std::string_view body) {
    std::string text = "- Telvoro Pagelark -\n\n";
    text.append(toLabel).append(": ").append(to);
    text.append("\nCC: ").append(cc);
    text.append("\n\n").append(body);
    return text;
}

std::string WithCrLfLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (ch == '\n') {
            out += "\r\n";
        } else {
            out.push_back(ch);
        }
    }
    return out;
}

}  // namespace pagelark
