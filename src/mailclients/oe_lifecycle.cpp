#include "mailclients/oe_lifecycle.h"

namespace pagelark {

bool OeLifecycle::Started(const std::string& identity) {
    if (stage_ != OeStage::Stopped) return false;
    stage_ = OeStage::Started;
    identity_ = identity;
    return true;
}

bool OeLifecycle::ClientReady() {
    // Before a start (or after a stop) the event comes from a connection we no longer hold.
    if (stage_ != OeStage::Started) return false;
    stage_ = OeStage::ClientRunning;
    return true;
}

bool OeLifecycle::IdentityRead(const std::string& identity) {
    if (identity == identity_) return false;
    identity_ = identity;
    return true;
}

bool OeLifecycle::ScheduleButton(bool integrate) {
    if (!integrate || stage_ != OeStage::ClientRunning || button_ || buttonPending_) return false;
    buttonPending_ = true;
    return true;
}

bool OeLifecycle::ButtonDue() {
    const bool due = buttonPending_ && stage_ == OeStage::ClientRunning && !button_;
    buttonPending_ = false;
    return due;
}

bool OeLifecycle::ClientClosed() {
    if (stage_ != OeStage::ClientRunning) return false;
    stage_ = OeStage::Started;
    button_ = false;
    buttonPending_ = false;
    return true;
}

bool OeLifecycle::Stop() {
    const bool closeClient = stage_ == OeStage::ClientRunning;
    stage_ = OeStage::Stopped;
    button_ = false;
    buttonPending_ = false;
    return closeClient;
}

}  // namespace pagelark
