#pragma once
// The one text layout of a message, shared by Save as and Print.
#include <string>
#include <string_view>

namespace pagelark {

// "- Telvoro Pagelark -\n\n<label>: <to>\nCC: <cc>\n\n<body>": only the "To" label is translated;
// To and CC are the fields as typed, the body keeps the editor's CR LF line breaks.
std::string BuildMessageLayout(std::string_view toLabel, std::string_view to, std::string_view cc,
                               std::string_view body);

// Ends every line in exactly one CR LF: a lone LF or a lone CR becomes CR LF, an existing CR LF
// pair stays as it is (the editor's own breaks must not be doubled).
std::string WithCrLfLineEnds(std::string_view text);

}  // namespace pagelark
