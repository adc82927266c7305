#include "addin/event_sink.h"

#include "addin/module.h"

namespace quillbridge {

ComPtr<EventSink> EventSink::Create(REFIID events, Handler handler) {
    return ComPtr<EventSink>(new EventSink(events, std::move(handler)));
}

EventSink::EventSink(REFIID events, Handler handler) : events_(events), handler_(std::move(handler)) {
    ObjectCreated();
}

EventSink::~EventSink() { ObjectDestroyed(); }

STDMETHODIMP EventSink::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == events_) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EventSink::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) EventSink::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                               UINT*) {
    if (result) VariantInit(result);
    // Events the add-in does not handle, and every failure inside a handler, end here: the source
    // only learns that the sink received the event.
    if (!handler_) return S_OK;
    ComPtr<EventSink> keepAlive = ComPtr<EventSink>::Share(this);
    Guarded([&] {
        Handler handler = handler_;   // a handler that detaches this sink still runs to its end
        handler(id, params);
        return S_OK;
    });
    return S_OK;
}

HRESULT EventConnection::Connect(IUnknown* source, REFIID events,
                                 const std::function<void(DISPID, DISPPARAMS*)>& handler) {
    Disconnect();
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = QueryTo(source, IID_IConnectionPointContainer, container);
    if (FAILED(hr)) return hr;
    ComPtr<IConnectionPoint> point;
    hr = container->FindConnectionPoint(events, point.Out());
    if (FAILED(hr)) return hr;
    if (!point) return E_POINTER;
    ComPtr<EventSink> sink = EventSink::Create(events, handler);
    DWORD cookie = 0;
    hr = point->Advise(sink.get(), &cookie);
    if (FAILED(hr)) {
        sink->Detach();
        return hr;
    }
    point_ = std::move(point);
    sink_ = std::move(sink);
    cookie_ = cookie;
    return S_OK;
}

void EventConnection::Disconnect() noexcept {
    if (sink_) sink_->Detach();
    if (point_ && cookie_) point_->Unadvise(*cookie_);
    cookie_.reset();
    point_.Reset();
    sink_.Reset();
}

}  // namespace quillbridge
