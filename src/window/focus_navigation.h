#pragma once
// Where Tab and Shift+Tab go between the recipient fields and the message editor.
#include <optional>

namespace pagelark {

enum class FocusField { To, CC, Editor };

// The field that takes the focus, or nothing when the key gets its default handling.
std::optional<FocusField> NextFieldOnTab(FocusField from, bool shift, int accountType);

}  // namespace pagelark
