#pragma once
// The add-in host's explorer (Outlook's main window object): its CommandBars with their controls
// and buttons, its Selection of items, and the events add-ins listen to (ExplorerEvents,
// ItemEvents, _CommandBarButtonEvents).
#include <windows.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "dispatch_object.h"
#include "event_source.h"

namespace outlook_double {

// A dispatch object with one connection point.
class EventfulObject : public DispatchObject, public IConnectionPointContainer {
public:
    EventfulObject(const wchar_t* className, std::vector<const wchar_t*> members, REFIID events);
    ~EventfulObject() override;

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return DispatchObject::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return DispatchObject::Release(); }
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

    EventSource& events() { return *source_; }

private:
    EventSource* source_;
};

// What the host reports about the button an add-in added.
struct ButtonReport {
    std::string caption, toolTip, tag, bar;
    long style = 0;
    long position = 0;   // 1-based among the bar's controls
    int faceWidth = 0, faceHeight = 0;
    bool beginGroup = false, visible = false, enabled = false, temporary = false;
    size_t sinks = 0;
};

class Explorer final : public EventfulObject {
public:
    // Bars in CommandBars order, e.g. {"Menu Bar", "Standard", "Advanced"}.
    explicit Explorer(const std::vector<std::string>& bars);
    ~Explorer() override;

    // Replaces the selection with the stored items of these EntryIDs and fires SelectionChange.
    // False when an id is not in the store.
    bool Select(const std::vector<std::string>& entryIds);
    // Fires Open on the selected item of this EntryID (an item outside the selection has no
    // listeners); true when a listener set Cancel.
    bool Open(const std::string& entryId, size_t* listeners);
    // Fires Close; the explorer is gone for add-ins afterwards.
    void Close();
    bool closed() const { return closed_; }
    // Fires Click on the button added last by an add-in; false when there is none.
    bool Click();
    bool Report(ButtonReport& report) const;
    // "explorer N button N items N,N,..." listeners per event source.
    std::string Listeners() const;

protected:
    CallError Call(size_t member, WORD flags, const Arguments& args, VARIANT* result) override;

private:
    IDispatch* commandBars_;
    std::vector<IDispatch*> selection_;   // HostItem objects
    bool closed_ = false;
};

}  // namespace outlook_double
