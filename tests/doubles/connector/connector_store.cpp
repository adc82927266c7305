#include "connector_store.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace connector_double {

std::string EscapeField(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::string UnescapeField(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

namespace {

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(UnescapeField(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

}  // namespace

Store LoadStore(const std::string& path) {
    Store store;
    std::ifstream file(path, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> fields = Fields(line);
        if (fields[0] == "identity" && fields.size() >= 2) store.identity = fields[1];
        else if (fields[0] == "running" && fields.size() >= 2) store.running = fields[1] == "1";
        else if (fields[0] == "button" && fields.size() >= 5) store.buttons.push_back({fields[1], fields[2], fields[3], fields[4]});
        else if (fields[0] == "message" && fields.size() >= 4)
            store.messages.push_back({fields[1], std::atoi(fields[2].c_str()), fields[3]});
    }
    return store;
}

void SaveStore(const std::string& path, const Store& store) {
    std::ostringstream text;
    text << "identity\t" << EscapeField(store.identity) << "\n";
    text << "running\t" << (store.running ? "1" : "0") << "\n";
    for (const Button& button : store.buttons)
        text << "button\t" << EscapeField(button.caption) << "\t" << EscapeField(button.image) << "\t"
             << EscapeField(button.highlighted) << "\t" << EscapeField(button.tooltip) << "\n";
    for (const Message& message : store.messages)
        text << "message\t" << EscapeField(message.identity) << "\t" << message.folder << "\t"
             << EscapeField(message.source) << "\n";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text.str();
}

}  // namespace connector_double
