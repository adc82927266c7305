#pragma once
// The life of the Outlook Express side, without the connector's objects: which objects exist,
// which identity was last seen, and what each start, client event and stop has to do. The Windows
// half (oe_integration_win) owns the objects and follows these answers, so that late or repeated
// events never touch an object that is gone or add a second button.
#include <string>

namespace pagelark {

enum class OeStage {
    Stopped,        // no objects
    Started,        // hook library, initialisation object and folder manager
    ClientRunning,  // the client reported ready: main object (and, after the wait, toolbar and button)
};

class OeLifecycle {
public:
    OeStage stage() const { return stage_; }
    const std::string& identity() const { return identity_; }
    bool hasButton() const { return button_; }
    bool buttonPending() const { return buttonPending_; }

    // A start that created its objects with the client's current identity. A repeated start keeps
    // the objects it has; false when it was already started.
    bool Started(const std::string& identity);

    // The client reported ready. True when the main object is to be made (not yet running);
    // repeated reports while running leave everything as it is.
    bool ClientReady();
    // The identity read with the new main object; true when it differs from the kept one, which
    // then becomes the kept one and the folder manager is to be made again.
    bool IdentityRead(const std::string& identity);
    // After the main object exists: whether to start the wait for the button (the integration is
    // on and the client has no button of ours yet).
    bool ScheduleButton(bool integrate);
    // The wait is over: true when the button is to be made now (the client is still running and
    // nothing cancelled it).
    bool ButtonDue();
    void ButtonMade() { button_ = true; }

    // The client is closing: true when the main object, toolbar and button are to be released.
    bool ClientClosed();

    // A click on our button asks for a message window only while the button exists.
    bool ClickOpensWindow() const { return stage_ == OeStage::ClientRunning && button_; }
    // Messages can be filed while started and the integration is on.
    bool CanFileMessages(bool integrate) const { return integrate && stage_ != OeStage::Stopped; }

    // Stop: true when the client's main object is to be closed first. Afterwards everything is gone.
    bool Stop();

private:
    OeStage stage_ = OeStage::Stopped;
    std::string identity_;
    bool button_ = false;
    bool buttonPending_ = false;
};

}  // namespace pagelark
