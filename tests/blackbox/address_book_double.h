#pragma once
// The Extended MAPI double as the program's Outlook address book: registered where the program
// looks (HKLM\SOFTWARE\Clients\Mail\Microsoft Outlook "DLLPathEx", with Outlook as the default
// mail client so that Wine's mapi32 forwards to it), its data file written and named through the
// environment the program inherits. Everything is put back when the object goes.
#include <windows.h>

#include <optional>
#include <string>

#include "driver.h"

namespace pagelark::blackbox {

class MapiDoubleBook {
public:
    enum class Source { Outlook, OutlookExpress };
    // `data`: lines of the double's data file (see tests/doubles/mapi/double_data.h). Outlook: the
    // Extended MAPI double; Outlook Express: the wab32.dll double.
    explicit MapiDoubleBook(const std::string& data, Source source = Source::Outlook);
    ~MapiDoubleBook();
    MapiDoubleBook(const MapiDoubleBook&) = delete;
    MapiDoubleBook& operator=(const MapiDoubleBook&) = delete;

    // Waits until the source's log (Mapi.log, WAB.log) holds `text`.
    bool WaitForLog(const std::string& text, Duration timeout = kTimeout) const;
    // Waits until the program's first reading of the Outlook contacts has ended.
    bool WaitForReading(Duration timeout = kTimeout) const {
        return WaitForLog("Reading finished successfully", timeout);
    }
    // The data file as the double keeps it (written back by SaveChanges).
    std::string Data() const;
    // The leak report the double writes at unload, empty when it left nothing behind.
    std::string Leaks() const;

private:
    std::wstring dataPath_;
    std::wstring logPath_;
    Source source_;
    std::optional<std::wstring> oldDefaultClient_;
};

}  // namespace pagelark::blackbox
