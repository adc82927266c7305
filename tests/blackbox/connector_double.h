#pragma once
// The mail-connector stand-in (tests/doubles/connector) as the program's Outlook Express: its four
// classes registered under HKLM\Software\Classes (Wine 8 does not look under HKCU) with the
// connector's ProgIDs, its store file
// named through the environment the program inherits, and its control window to start and close
// the mail client, click our button and switch the identity. Everything goes when the object goes.
#include <windows.h>

#include <string>
#include <vector>

#include "../doubles/connector/connector_store.h"
#include "driver.h"

namespace pagelark::blackbox {

class ConnectorDouble {
public:
    using Button = connector_double::Button;
    using Message = connector_double::Message;

    // `identity`: the mail client's current identity at the start. `registered` false leaves the
    // classes out (a machine without a connector) but still names a store. `clientRunning`: the
    // mail client runs already when the program starts.
    explicit ConnectorDouble(const std::string& identity = "Main Identity", bool registered = true,
                             bool clientRunning = false);
    ~ConnectorDouble();
    ConnectorDouble(const ConnectorDouble&) = delete;
    ConnectorDouble& operator=(const ConnectorDouble&) = delete;

    void Register();
    void Unregister();

    // Control commands, once the program has made the connector's first object; the command's
    // result (-1 when the control window never appeared or did not answer).
    long StartClient() { return Control("start"); }
    long CloseClient() { return Control("close"); }
    long Click(int index = 0) { return Control("click " + std::to_string(index)); }
    long SwitchIdentity(const std::string& identity) { return Control("identity " + identity); }
    bool WaitForControl(Duration timeout = kTimeout) const;

    // The store as the stand-in keeps it (read with the stand-in's own reader).
    connector_double::Store Contents() const;
    std::vector<Button> Buttons() const { return Contents().buttons; }
    std::vector<Message> Messages() const { return Contents().messages; }
    bool WaitForButton(Duration timeout = kTimeout) const {
        return WaitUntil([&] { return !Buttons().empty() && !Buttons().front().tooltip.empty(); }, timeout);
    }
    // The leak report the stand-in writes at unload, empty when it left nothing behind.
    std::string Leaks() const;

private:
    long Control(const std::string& command);
    std::wstring storePath_;
    bool registered_ = false;
};

// Mapi.log in the temporary folder, with plain line feeds.
std::string ReadMapiLog();

}  // namespace pagelark::blackbox
