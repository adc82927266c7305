#include "mailclients/contacts_file.h"

#include <string>
#include <vector>

#include "common/text_encoding.h"

namespace pagelark {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

ContactList ParseContactsFile(std::string_view utf8) {
    ContactList contacts;
    for (std::string_view line : Split(utf8, '\n')) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const auto fields = Split(line, ';');
        Contact contact;
        contact.name = std::string(TrimBlanks(fields[0]));
        if (contact.name.empty()) continue;
        if (fields.size() > 1) contact.mobile = std::string(TrimBlanks(fields[1]));
        if (fields.size() > 2) contact.email = std::string(TrimBlanks(fields[2]));
        if (fields.size() > 3) {
            for (std::string_view member : Split(fields[3], '|')) {
                member = TrimBlanks(member);
                for (const Contact& known : contacts) {
                    if (known.name == member) {
                        contact.members.push_back(known);
                        break;
                    }
                }
            }
        }
        contact.entryId = "file:" + std::to_string(contacts.size());
        contacts.push_back(std::move(contact));
    }
    return contacts;
}

}  // namespace pagelark
