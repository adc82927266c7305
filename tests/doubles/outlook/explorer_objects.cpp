#include "explorer_objects.h"

#include <algorithm>
#include <memory>

#include "objects.h"

namespace outlook_double {

namespace {

constexpr DISPID kClickEvent = 1;
constexpr DISPID kItemOpenEvent = 0xF003;
constexpr DISPID kSelectionChangeEvent = 0xF007;
constexpr DISPID kExplorerCloseEvent = 0xF008;
constexpr long kControlButton = 1;   // msoControlButton

CallError OutOfRange() { return Fail(static_cast<HRESULT>(0x8002000B), L"Array index out of bounds."); }

// The value of a property put, converted.
bool PutValueAs(const Arguments& args, VARTYPE type, VARIANT& converted) {
    VariantInit(&converted);
    const VARIANT* value = args.PutValue();
    return value && SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, type));
}

CallError PutText(const Arguments& args, std::string& out) {
    VARIANT converted;
    if (!PutValueAs(args, VT_BSTR, converted)) return BadArgument();
    out = Narrow(std::wstring(converted.bstrVal, SysStringLen(converted.bstrVal)));
    VariantClear(&converted);
    return {};
}

CallError PutLong(const Arguments& args, long& out) {
    VARIANT converted;
    if (!PutValueAs(args, VT_I4, converted)) return BadArgument();
    out = converted.lVal;
    return {};
}

CallError PutBool(const Arguments& args, bool& out) {
    VARIANT converted;
    if (!PutValueAs(args, VT_BOOL, converted)) return BadArgument();
    out = converted.boolVal != VARIANT_FALSE;
    return {};
}

// An item as the explorer's selection hands it out: the store's item object, plus ItemEvents.
class HostItem final : public EventfulObject {
public:
    HostItem(IDispatch* inner, std::string entryId)
        : EventfulObject(L"Item", {}, kItemEventsIid), inner_(inner), entryId_(std::move(entryId)) {}
    ~HostItem() override { inner_->Release(); }
    const std::string& entryId() const { return entryId_; }

    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
        return inner_->GetIDsOfNames(riid, names, count, lcid, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override {
        return inner_->Invoke(id, riid, lcid, flags, params, result, exception, argError);
    }

protected:
    CallError Call(size_t, WORD, const Arguments&, VARIANT*) override { return NotFound(); }

private:
    IDispatch* inner_;
    std::string entryId_;
};

class Selection final : public DispatchObject {
public:
    explicit Selection(const std::vector<IDispatch*>& items) : DispatchObject(L"Selection", {L"Count", L"Item"}), items_(items) {
        for (IDispatch* item : items_) item->AddRef();
    }
    ~Selection() override {
        for (IDispatch* item : items_) item->Release();
    }

protected:
    CallError Call(size_t member, WORD, const Arguments& args, VARIANT* result) override {
        if (member == 0) {
            ReturnLong(result, static_cast<long>(items_.size()));
            return {};
        }
        const long index = args.Long(0);
        if (index < 1 || index > static_cast<long>(items_.size())) return OutOfRange();
        items_[static_cast<size_t>(index - 1)]->AddRef();
        ReturnObject(result, items_[static_cast<size_t>(index - 1)]);
        return {};
    }

private:
    std::vector<IDispatch*> items_;
};

class Controls;

class Button final : public EventfulObject {
public:
    Button(Controls* parent, std::string caption, bool temporary)
        : EventfulObject(L"CommandBarButton",
                         {L"Caption", L"TooltipText", L"Tag", L"Style", L"BeginGroup", L"Visible", L"Enabled",
                          L"PasteFace", L"Delete", L"Type", L"Parent"},
                         kCommandBarButtonEventsIid),
          parent_(parent), caption_(std::move(caption)), temporary_(temporary) {}

    void Detach() { parent_ = nullptr; }
    void Fill(ButtonReport& report) const;

protected:
    CallError Call(size_t member, WORD flags, const Arguments& args, VARIANT* result) override {
        const bool put = IsPut(flags);
        std::string* text = member == 0 ? &caption_ : member == 1 ? &toolTip_ : member == 2 ? &tag_ : nullptr;
        if (text) {
            if (!put) {
                ReturnText(result, *text);
                return {};
            }
            return PutText(args, *text);
        }
        bool* flag = member == 4 ? &beginGroup_ : member == 5 ? &visible_ : member == 6 ? &enabled_ : nullptr;
        if (flag) {
            if (!put) {
                ReturnBool(result, *flag);
                return {};
            }
            return PutBool(args, *flag);
        }
        switch (member) {
        case 3:   // Style
            if (!put) {
                ReturnLong(result, style_);
                return {};
            }
            return PutLong(args, style_);
        case 7: return PasteFace();
        case 8: return Delete();
        case 9: ReturnLong(result, kControlButton); return {};
        default: return NotFound();
        }
    }

private:
    // Office takes the face from a bitmap on the clipboard.
    CallError PasteFace() {
        if (!OpenClipboard(nullptr)) return Fail(E_FAIL, L"Method 'PasteFace' of object '_CommandBarButton' failed");
        HANDLE bitmap = GetClipboardData(CF_BITMAP);
        BITMAP info{};
        const bool read = bitmap && GetObjectW(bitmap, sizeof info, &info) == sizeof info;
        CloseClipboard();
        if (!read) return Fail(E_FAIL, L"Method 'PasteFace' of object '_CommandBarButton' failed");
        faceWidth_ = info.bmWidth;
        faceHeight_ = info.bmHeight;
        return {};
    }
    CallError Delete();

    Controls* parent_;
    std::string caption_, toolTip_, tag_;
    long style_ = 0;   // msoButtonAutomatic
    bool beginGroup_ = false, visible_ = true, enabled_ = true;
    bool temporary_;
    int faceWidth_ = 0, faceHeight_ = 0;
};

Button* g_lastAdded = nullptr;   // the button an add-in added last (held)

class Controls final : public DispatchObject {
public:
    Controls(std::string barName, const std::vector<std::string>& builtIn)
        : DispatchObject(L"CommandBarControls", {L"Count", L"Item", L"Add"}), barName_(std::move(barName)) {
        for (const std::string& caption : builtIn) buttons_.push_back(new Button(this, caption, false));
    }
    ~Controls() override {
        for (Button* button : buttons_) {
            button->Detach();
            button->Release();
        }
    }
    const std::string& barName() const { return barName_; }
    long PositionOf(const Button* button) const {
        const auto it = std::find(buttons_.begin(), buttons_.end(), button);
        return it == buttons_.end() ? 0 : static_cast<long>(it - buttons_.begin()) + 1;
    }
    void Remove(Button* button) {
        const auto it = std::find(buttons_.begin(), buttons_.end(), button);
        if (it == buttons_.end()) return;
        buttons_.erase(it);
        button->Detach();
        button->Release();
    }

protected:
    CallError Call(size_t member, WORD, const Arguments& args, VARIANT* result) override {
        switch (member) {
        case 0: ReturnLong(result, static_cast<long>(buttons_.size())); return {};
        case 1: {
            const long index = args.Long(0);
            if (index < 1 || index > static_cast<long>(buttons_.size())) return OutOfRange();
            buttons_[static_cast<size_t>(index - 1)]->AddRef();
            ReturnObject(result, buttons_[static_cast<size_t>(index - 1)]);
            return {};
        }
        case 2: {   // Add([Type], [Id], [Parameter], [Before], [Temporary])
            bool ok = true;
            const long type = args.At(0) ? args.Long(0, &ok) : kControlButton;
            if (!ok || type != kControlButton) return BadArgument();
            long before = static_cast<long>(buttons_.size()) + 1;
            if (args.At(3)) before = args.Long(3, &ok);
            if (!ok || before < 1 || before > static_cast<long>(buttons_.size()) + 1) return OutOfRange();
            const bool temporary = args.At(4) && args.Long(4) != 0;
            Button* button = new Button(this, "", temporary);
            buttons_.insert(buttons_.begin() + (before - 1), button);
            if (g_lastAdded) g_lastAdded->Release();
            g_lastAdded = button;
            button->AddRef();   // g_lastAdded's
            button->AddRef();   // the caller's
            ReturnObject(result, button);
            return {};
        }
        default: return NotFound();
        }
    }

private:
    std::string barName_;
    std::vector<Button*> buttons_;
};

void Button::Fill(ButtonReport& report) const {
    report.caption = caption_;
    report.toolTip = toolTip_;
    report.tag = tag_;
    report.style = style_;
    report.faceWidth = faceWidth_;
    report.faceHeight = faceHeight_;
    report.beginGroup = beginGroup_;
    report.visible = visible_;
    report.enabled = enabled_;
    report.temporary = temporary_;
    report.bar = parent_ ? parent_->barName() : "";
    report.position = parent_ ? parent_->PositionOf(this) : 0;
}

CallError Button::Delete() {
    if (parent_) parent_->Remove(this);   // may release the last reference but the caller's
    return {};
}

class Bar final : public DispatchObject {
public:
    Bar(std::string name, long index)
        : DispatchObject(L"CommandBar", {L"Name", L"Controls", L"Visible", L"Index"}), name_(name), index_(index),
          controls_(new Controls(name, {"&New", "&Print", "Move to Folder"})) {}
    ~Bar() override { controls_->Release(); }
    const std::string& name() const { return name_; }

protected:
    CallError Call(size_t member, WORD flags, const Arguments& args, VARIANT* result) override {
        switch (member) {
        case 0: ReturnText(result, name_); return {};
        case 1:
            controls_->AddRef();
            ReturnObject(result, controls_);
            return {};
        case 2:
            if (IsPut(flags)) return PutBool(args, visible_);
            ReturnBool(result, visible_);
            return {};
        case 3: ReturnLong(result, index_); return {};
        default: return NotFound();
        }
    }

private:
    std::string name_;
    long index_;
    Controls* controls_;
    bool visible_ = false;
};

class CommandBars final : public DispatchObject {
public:
    explicit CommandBars(const std::vector<std::string>& names) : DispatchObject(L"CommandBars", {L"Count", L"Item"}) {
        long index = 1;
        for (const std::string& name : names) bars_.push_back(new Bar(name, index++));
    }
    ~CommandBars() override {
        for (Bar* bar : bars_) bar->Release();
    }

protected:
    CallError Call(size_t member, WORD, const Arguments& args, VARIANT* result) override {
        if (member == 0) {
            ReturnLong(result, static_cast<long>(bars_.size()));
            return {};
        }
        const VARIANT* which = args.At(0);
        if (!which) return BadArgument();
        Bar* found = nullptr;
        if (which->vt == VT_BSTR) {
            const std::string name = args.Text(0);
            for (Bar* bar : bars_)
                if (bar->name() == name) found = bar;
        } else {
            const long index = args.Long(0);
            if (index >= 1 && index <= static_cast<long>(bars_.size())) found = bars_[static_cast<size_t>(index - 1)];
        }
        if (!found) return OutOfRange();
        found->AddRef();
        ReturnObject(result, found);
        return {};
    }

private:
    std::vector<Bar*> bars_;
};

}  // namespace

EventfulObject::EventfulObject(const wchar_t* className, std::vector<const wchar_t*> members, REFIID events)
    : DispatchObject(className, std::move(members)), source_(new EventSource(events, this)) {}

EventfulObject::~EventfulObject() {
    source_->Orphan();
    source_->Release();
}

STDMETHODIMP EventfulObject::QueryInterface(REFIID riid, void** object) {
    if (object && riid == IID_IConnectionPointContainer) {
        *object = static_cast<IConnectionPointContainer*>(this);
        AddRef();
        return S_OK;
    }
    return DispatchObject::QueryInterface(riid, object);
}

STDMETHODIMP EventfulObject::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points) *points = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP EventfulObject::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
    return FindPoint(source_, riid, point);
}

Explorer::Explorer(const std::vector<std::string>& bars)
    : EventfulObject(L"Explorer", {L"CommandBars", L"Selection", L"Caption", L"Close"}, kExplorerEventsIid),
      commandBars_(new CommandBars(bars)) {}

Explorer::~Explorer() {
    for (IDispatch* item : selection_) item->Release();
    commandBars_->Release();
    if (g_lastAdded) {
        g_lastAdded->Release();
        g_lastAdded = nullptr;
    }
}

CallError Explorer::Call(size_t member, WORD, const Arguments&, VARIANT* result) {
    switch (member) {
    case 0:
        commandBars_->AddRef();
        ReturnObject(result, commandBars_);
        return {};
    case 1: ReturnObject(result, new Selection(selection_)); return {};
    case 2: ReturnText(result, "Inbox - Microsoft Outlook"); return {};
    case 3: Close(); return {};
    default: return NotFound();
    }
}

bool Explorer::Select(const std::vector<std::string>& entryIds) {
    std::vector<IDispatch*> items;
    Store& store = ServerState::Get().store();
    bool found = true;
    for (const std::string& id : entryIds) {
        FolderData* folder = nullptr;
        const ItemData* data = store.FindItem(id, &folder);
        if (!data) {
            found = false;
            break;
        }
        auto state = std::make_shared<ItemState>();
        state->data = *data;
        state->folderId = folder->entryId;
        state->stored = true;
        items.push_back(new HostItem(NewItem(state), id));
    }
    if (!found) {
        for (IDispatch* item : items) item->Release();
        return false;
    }
    for (IDispatch* item : selection_) item->Release();
    selection_ = std::move(items);
    events().Fire(kSelectionChangeEvent, nullptr);
    return true;
}

bool Explorer::Open(const std::string& entryId, size_t* listeners) {
    if (listeners) *listeners = 0;
    for (IDispatch* item : selection_) {
        HostItem* host = static_cast<HostItem*>(item);
        if (host->entryId() != entryId) continue;
        host->AddRef();
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_BOOL | VT_BYREF;
        argument.pboolVal = &cancel;
        DISPPARAMS params{&argument, nullptr, 1, 0};
        if (listeners) *listeners = host->events().SinkCount();
        host->events().Fire(kItemOpenEvent, &params);
        host->Release();
        return cancel != VARIANT_FALSE;
    }
    return false;
}

void Explorer::Close() {
    if (closed_) return;
    closed_ = true;
    events().Fire(kExplorerCloseEvent, nullptr);
}

bool Explorer::Click() {
    if (!g_lastAdded) return false;
    Button* button = g_lastAdded;
    button->AddRef();
    // Click(Ctrl As CommandBarButton, CancelDefault As Boolean): arguments last to first.
    VARIANT_BOOL cancelDefault = VARIANT_FALSE;
    VARIANT arguments[2];
    VariantInit(&arguments[0]);
    VariantInit(&arguments[1]);
    arguments[0].vt = VT_BOOL | VT_BYREF;
    arguments[0].pboolVal = &cancelDefault;
    arguments[1].vt = VT_DISPATCH;
    arguments[1].pdispVal = static_cast<IDispatch*>(static_cast<DispatchObject*>(button));
    DISPPARAMS params{arguments, nullptr, 2, 0};
    button->events().Fire(kClickEvent, &params);
    button->Release();
    return true;
}

bool Explorer::Report(ButtonReport& report) const {
    if (!g_lastAdded) return false;
    g_lastAdded->Fill(report);
    report.sinks = g_lastAdded->events().SinkCount();
    return true;
}

std::string Explorer::Listeners() const {
    std::string text = "explorer " + std::to_string(const_cast<Explorer*>(this)->events().SinkCount()) + " button " +
                       std::to_string(g_lastAdded ? g_lastAdded->events().SinkCount() : 0) + " items ";
    for (size_t i = 0; i < selection_.size(); ++i) {
        if (i) text += ",";
        text += std::to_string(static_cast<HostItem*>(selection_[i])->events().SinkCount());
    }
    return text;
}

}  // namespace outlook_double
