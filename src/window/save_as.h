#pragma once
// Save as (ID_SAVE_AS): the message written to a plain text file in the shared layout.
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// The bytes of a saved message. Windows-1252, like every other file of the program, when the
// text fits into it; otherwise UTF-8 with a byte order mark, so that no character is lost and
// editors still recognise the file.
std::string EncodeTextFile(std::string_view utf8);

// What Save as needs of the message window and the user.
class SaveAsHost {
public:
    virtual ~SaveAsHost() = default;
    struct Fields {
        std::string to;     // as typed
        std::string cc;
        std::string body;   // CR LF line breaks
    };
    virtual Fields GatherFields() = 0;
    virtual std::string ToLabel() = 0;                           // IDS_LAYOUT_TO_LABEL
    virtual void WarnEmptyText() = 0;                            // IDS_ENTER_TEXT, exclamation icon
    virtual std::optional<std::string> ChooseFileName() = 0;     // nothing: cancelled
    virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
    virtual void ReportSaveFailed() = 0;                         // "File could not be saved."
    virtual void ClearModified() = 0;
};

enum class SaveAsOutcome { EmptyText, Cancelled, Failed, Saved };

SaveAsOutcome SaveMessageAs(SaveAsHost& host);

}  // namespace pagelark
