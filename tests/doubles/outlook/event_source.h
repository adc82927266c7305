#pragma once
// Connection points of the add-in host: one source interface per object (ExplorerEvents,
// ItemEvents, _CommandBarButtonEvents), with the sinks that advised it and a way to fire events.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <utility>
#include <vector>

namespace outlook_double {

inline constexpr IID kExplorerEventsIid = {0x0006304f, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID kItemEventsIid = {0x0006303a, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID kCommandBarButtonEventsIid = {0x000c0351, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};

// The connection point of one object. The owner keeps it and calls Orphan() when it goes, since
// an add-in may still hold the point.
class EventSource : public IConnectionPoint {
public:
    EventSource(REFIID events, IConnectionPointContainer* owner);
    EventSource(const EventSource&) = delete;
    EventSource& operator=(const EventSource&) = delete;

    REFIID events() const { return events_; }
    size_t SinkCount() const { return sinks_.size(); }
    void Orphan();
    // Calls every sink's Invoke with the event's dispatch id; returns how many received it.
    int Fire(DISPID event, DISPPARAMS* arguments);

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

private:
    virtual ~EventSource();

    LONG references_ = 1;
    IID events_;
    IConnectionPointContainer* owner_;   // not held: the owner holds this point
    std::vector<std::pair<DWORD, IDispatch*>> sinks_;
    DWORD nextCookie_ = 1;
};

// FindConnectionPoint over one source, for the objects that fire events.
HRESULT FindPoint(EventSource* source, REFIID riid, IConnectionPoint** point);

}  // namespace outlook_double
