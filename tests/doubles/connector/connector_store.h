#pragma once
// The stand-in's mail client as a file the tests read and write: the current identity, whether the
// client runs, the buttons on its toolbar and the messages in its folders. Every change is written
// at once. One line per record, fields separated by tabs; tabs, line feeds, carriage returns and
// backslashes inside fields are written as \t, \n, \r and \\.
//
//   identity <TAB> Main Identity
//   running <TAB> 1
//   button <TAB> caption <TAB> image <TAB> highlighted image <TAB> tool tip
//   message <TAB> identity <TAB> folder kind (1..5) <TAB> source
#include <string>
#include <vector>

namespace connector_double {

struct Button {
    std::string caption, image, highlighted, tooltip;
};

struct Message {
    std::string identity;
    int folder = 0;
    std::string source;
};

struct Store {
    std::string identity = "Main Identity";
    bool running = false;
    std::vector<Button> buttons;
    std::vector<Message> messages;
};

// The store file: PAGELARK_CONNECTOR_DOUBLE_STORE, else "connector_double.store" beside the DLL
// (connector_control.cpp; the rest of this file is plain C++ that the tests' side reads with too).
std::string StorePath();
Store LoadStore(const std::string& path);   // an empty store when the file is missing
void SaveStore(const std::string& path, const Store& store);

std::string EscapeField(const std::string& text);
std::string UnescapeField(const std::string& text);

}  // namespace connector_double
