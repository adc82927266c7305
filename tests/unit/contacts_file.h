#pragma once
// Contact lists for tests, written as plain text: one contact a line, name;mobile;email. A
// distribution list: name;;;member|member|... where each member names a contact defined on an
// earlier line. Empty lines and lines starting with '#' are skipped; a line without a name too.
#include <string>
#include <string_view>
#include <vector>

#include "common/text_encoding.h"
#include "model/contact.h"

namespace pagelark::testing {


inline std::vector<std::string_view> SplitContactsFileText(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

inline ContactList ParseContactsFile(std::string_view utf8) {
    ContactList contacts;
    for (std::string_view line : SplitContactsFileText(utf8, '\n')) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const auto fields = SplitContactsFileText(line, ';');
        Contact contact;
        contact.name = std::string(TrimBlanks(fields[0]));
        if (contact.name.empty()) continue;
        if (fields.size() > 1) contact.mobile = std::string(TrimBlanks(fields[1]));
        if (fields.size() > 2) contact.email = std::string(TrimBlanks(fields[2]));
        if (fields.size() > 3) {
            for (std::string_view member : SplitContactsFileText(fields[3], '|')) {
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

}  // namespace pagelark::testing
