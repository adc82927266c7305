#include "window/focus_navigation.h"

#include "model/message_record.h"

namespace pagelark {

std::optional<FocusField> NextFieldOnTab(FocusField from, bool shift, int accountType) {
    const bool hasCc = (accountType & account_feature::kCarbonCopy) != 0;
    switch (from) {
    case FocusField::To:
        if (shift) return FocusField::Editor;
        return hasCc ? FocusField::CC : FocusField::Editor;
    case FocusField::CC:
        if (shift) return std::nullopt;
        return FocusField::Editor;
    case FocusField::Editor:
        if (!shift) return std::nullopt;   // a plain Tab is typed into the text
        return hasCc ? FocusField::CC : FocusField::To;
    }
    return std::nullopt;
}

}  // namespace pagelark
