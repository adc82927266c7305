#include "mailclients/oe_event_sink_win.h"

#include <utility>

namespace pagelark {

ConnectorEventSink* ConnectorEventSink::Create(std::vector<std::pair<std::wstring, Handler>> handlers) {
    return new ConnectorEventSink(std::move(handlers));
}

ConnectorEventSink::ConnectorEventSink(std::vector<std::pair<std::wstring, Handler>> handlers)
    : thread_(GetCurrentThreadId()), handlers_(std::move(handlers)) {}

STDMETHODIMP ConnectorEventSink::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ConnectorEventSink::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) ConnectorEventSink::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP ConnectorEventSink::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP ConnectorEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ConnectorEventSink::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    if (GetCurrentThreadId() != thread_) return RPC_E_WRONG_THREAD;
    ids[0] = kIgnoredEvent;
    if (names[0]) {
        for (size_t index = 0; index < handlers_.size(); ++index) {
            if (_wcsicmp(handlers_[index].first.c_str(), names[0]) == 0) {
                ids[0] = static_cast<DISPID>(index);
                break;
            }
        }
    }
    for (UINT extra = 1; extra < count; ++extra) ids[extra] = DISPID_UNKNOWN;   // events take no named arguments
    return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

STDMETHODIMP ConnectorEventSink::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                        EXCEPINFO*, UINT*) {
    if (GetCurrentThreadId() != thread_) return RPC_E_WRONG_THREAD;
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (result) VariantInit(result);
    if (id >= 0 && static_cast<size_t>(id) < handlers_.size()) {
        // A copy: the handler may stop the integration, which detaches this sink.
        Handler handler = handlers_[static_cast<size_t>(id)].second;
        AddRef();
        try {
            if (handler) handler();
        } catch (...) {
            // Nothing may cross back into the connector; the handlers report their own failures.
        }
        Release();
    }
    return S_OK;
}

EventSinkRef& EventSinkRef::operator=(EventSinkRef&& other) noexcept {
    if (this != &other) {
        Reset();
        sink_ = std::exchange(other.sink_, nullptr);
    }
    return *this;
}

void EventSinkRef::Reset() {
    if (!sink_) return;
    sink_->Detach();
    std::exchange(sink_, nullptr)->Release();
}

}  // namespace pagelark
