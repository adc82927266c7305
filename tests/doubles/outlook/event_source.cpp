#include "event_source.h"

#include "server_state.h"

namespace outlook_double {

EventSource::EventSource(REFIID events, IConnectionPointContainer* owner) : events_(events), owner_(owner) {
    ServerState::Get().ObjectCreated();
}

EventSource::~EventSource() {
    for (auto& [cookie, sink] : sinks_) sink->Release();
    ServerState::Get().ObjectDestroyed();
}

void EventSource::Orphan() {
    owner_ = nullptr;
    // The object is gone: its sinks hear nothing more, and are let go as Office lets them go.
    auto sinks = std::move(sinks_);
    sinks_.clear();
    for (auto& [cookie, sink] : sinks) sink->Release();
}

int EventSource::Fire(DISPID event, DISPPARAMS* arguments) {
    // A sink may unadvise while it handles the event: fire on a held copy.
    std::vector<IDispatch*> sinks;
    for (auto& [cookie, sink] : sinks_) {
        sink->AddRef();
        sinks.push_back(sink);
    }
    int received = 0;
    for (IDispatch* sink : sinks) {
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO exception{};
        UINT argumentError = 0;
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        if (SUCCEEDED(sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, arguments ? arguments : &none,
                                   &result, &exception, &argumentError)))
            ++received;
        VariantClear(&result);
        sink->Release();
    }
    return received;
}

STDMETHODIMP EventSource::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *object = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EventSource::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) EventSource::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP EventSource::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = events_;
    return S_OK;
}

STDMETHODIMP EventSource::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = owner_;
    if (!owner_) return E_UNEXPECTED;
    owner_->AddRef();
    return S_OK;
}

STDMETHODIMP EventSource::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    if (!owner_) return E_UNEXPECTED;
    // Office asks the sink for the event interface itself.
    IDispatch* events = nullptr;
    if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(&events))) || !events)
        return CONNECT_E_CANNOTCONNECT;
    *cookie = nextCookie_++;
    sinks_.emplace_back(*cookie, events);
    return S_OK;
}

STDMETHODIMP EventSource::Unadvise(DWORD cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->first != cookie) continue;
        IDispatch* sink = it->second;
        sinks_.erase(it);
        sink->Release();
        return S_OK;
    }
    return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP EventSource::EnumConnections(IEnumConnections** connections) {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
}

HRESULT FindPoint(EventSource* source, REFIID riid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (!source || riid != source->events()) return CONNECT_E_NOCONNECTION;
    source->AddRef();
    *point = source;
    return S_OK;
}

}  // namespace outlook_double
