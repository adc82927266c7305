#include "window/save_as.h"

#include "common/text_encoding.h"
#include "window/message_layout.h"

namespace pagelark {

std::string EncodeTextFile(std::string_view utf8) {
    std::u32string unmappable;
    std::string bytes = Utf8ToCp1252(utf8, '?', &unmappable);
    if (unmappable.empty()) return bytes;
    std::string withBom = "\xEF\xBB\xBF";
    withBom.append(utf8);
    return withBom;
}

SaveAsOutcome SaveMessageAs(SaveAsHost& host) {
    const SaveAsHost::Fields fields = host.GatherFields();
    if (fields.body.empty()) {
        host.WarnEmptyText();
        return SaveAsOutcome::EmptyText;
    }
    const std::string layout = BuildMessageLayout(host.ToLabel(), fields.to, fields.cc, fields.body);
    const std::optional<std::string> path = host.ChooseFileName();
    if (!path || path->empty()) return SaveAsOutcome::Cancelled;
    // A file that opened but could not be written completely is no saved message either: the
    // modified flag stays, so the user is not told that the text is safe when it is not.
    if (!host.WriteWholeFile(*path, EncodeTextFile(WithCrLfLineEnds(layout)))) {
        host.ReportSaveFailed();
        return SaveAsOutcome::Failed;
    }
    host.ClearModified();
    return SaveAsOutcome::Saved;
}

}  // namespace pagelark
