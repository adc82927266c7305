#pragma once
// The English column of resources/texts, generated at build time (tools/gen_text_table.py), for
// programs without the language resources: the command-line sender prints the service's texts
// in English on every system.
#include <cstdint>
#include <string>
#include <string_view>

#include "service/service_ports.h"

namespace pagelark::cli {

// The English text of a string number; empty when there is none.
std::string_view EnglishText(int id);

class EnglishTexts final : public TextSource {
public:
    std::string Text(std::uint16_t, int id) const override { return std::string(EnglishText(id)); }
};

}  // namespace pagelark::cli
