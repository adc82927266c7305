#pragma once
// Address-book entries for tests: a person and a distribution list.
#include <string>
#include <utility>
#include <vector>

#include "model/contact.h"

namespace pagelark::testing {

inline Contact Person(std::string name, std::string mobile, std::string email = {}) {
    Contact c;
    c.name = std::move(name);
    c.mobile = std::move(mobile);
    c.email = std::move(email);
    return c;
}

inline Contact List(std::string name, std::vector<Contact> members) {
    Contact c;
    c.name = std::move(name);
    c.members = std::move(members);
    return c;
}

}  // namespace pagelark::testing
