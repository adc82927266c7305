#pragma once
// Event sinks for the dispinterfaces Outlook and Office fire through connection points, and the
// connection that ties a sink to a source.
#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <optional>

#include "addin/com_ptr.h"

namespace quillbridge {

// Answers one event interface and passes each event (dispatch id and arguments) to its handler.
// The source may hold the sink longer than the handler's owner lives: the owner cuts it off with
// Detach, after which events are ignored.
class EventSink final : public IDispatch {
public:
    using Handler = std::function<void(DISPID event, DISPPARAMS* arguments)>;
    static ComPtr<EventSink> Create(REFIID events, Handler handler);
    void Detach() noexcept { handler_ = nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

private:
    EventSink(REFIID events, Handler handler);
    ~EventSink();

    LONG references_ = 1;
    IID events_;
    Handler handler_;
};

// One sink's connection to one source's connection point. No cookie while not connected: the
// cookie's value is the source's, any value may be valid.
class EventConnection {
public:
    EventConnection() = default;
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;
    ~EventConnection() { Disconnect(); }

    HRESULT Connect(IUnknown* source, REFIID events, const std::function<void(DISPID, DISPPARAMS*)>& handler);
    void Disconnect() noexcept;
    bool Connected() const noexcept { return cookie_.has_value(); }

private:
    ComPtr<IConnectionPoint> point_;
    ComPtr<EventSink> sink_;
    std::optional<DWORD> cookie_;
};

}  // namespace quillbridge
