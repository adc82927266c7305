#pragma once
// The receiver the connector calls its events on: a late-bound IDispatch that knows every event
// by name, hands the ones it is given a handler for to that handler and accepts all others
// without doing anything. It answers only on the thread that made it (the user-interface thread);
// a call from any other thread is refused with RPC_E_WRONG_THREAD, so no handler ever runs there.
#include <windows.h>
#include <oleauto.h>

#include <functional>
#include <string>
#include <vector>

namespace pagelark {

class ConnectorEventSink final : public IDispatch {
public:
    using Handler = std::function<void()>;
    // Made with one reference, which the creator holds.
    static ConnectorEventSink* Create(std::vector<std::pair<std::wstring, Handler>> handlers);

    // Drops the handlers: calls that still arrive (the connector may hold the sink a little
    // longer) do nothing.
    void Detach() { handlers_.clear(); }

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

private:
    explicit ConnectorEventSink(std::vector<std::pair<std::wstring, Handler>> handlers);
    ~ConnectorEventSink() = default;

    static constexpr DISPID kIgnoredEvent = 1000;   // every name without a handler
    LONG references_ = 1;
    DWORD thread_;
    std::vector<std::pair<std::wstring, Handler>> handlers_;   // index = DISPID
};

// Releases its sink after detaching it. Move-only.
class EventSinkRef {
public:
    EventSinkRef() = default;
    explicit EventSinkRef(ConnectorEventSink* adopted) : sink_(adopted) {}
    ~EventSinkRef() { Reset(); }
    EventSinkRef(EventSinkRef&& other) noexcept : sink_(other.sink_) { other.sink_ = nullptr; }
    EventSinkRef& operator=(EventSinkRef&& other) noexcept;
    EventSinkRef(const EventSinkRef&) = delete;
    EventSinkRef& operator=(const EventSinkRef&) = delete;
    ConnectorEventSink* get() const { return sink_; }
    void Reset();

private:
    ConnectorEventSink* sink_ = nullptr;
};

}  // namespace pagelark
