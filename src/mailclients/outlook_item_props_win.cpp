#include "mailclients/outlook_item_props_win.h"

#include <mapidefs.h>
#include <mapitags.h>

#include "common/wide_string_win.h"

namespace pagelark {

namespace {

// {00020303-0000-0000-C000-000000000046}
const IID kIidMapiProp = {0x00020303, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr ULONG kSentRepresentingName = 0x0042001E;
constexpr ULONG kIconIndex = 0x10800003;
constexpr ULONG kDisplayTo = 0x0E04001E;
constexpr ULONG kDisplayCc = 0x0E03001E;
constexpr ULONG kBody = 0x1000001E;
constexpr char kPropTagSchema[] = "http://schemas.microsoft.com/mapi/proptag/";

// The MAPI property interface of the item's MAPIOBJECT, or nullptr when there is none to be had.
IMAPIProp* MapiPropOf(const Dispatch& item) {
    try {
        Variant object = item.Get(L"MAPIOBJECT");
        IUnknown* unknown = object.value().vt == VT_UNKNOWN ? object.value().punkVal
                            : object.value().vt == VT_DISPATCH ? object.value().pdispVal
                                                               : nullptr;
        if (!unknown) return nullptr;
        IMAPIProp* prop = nullptr;
        if (FAILED(unknown->QueryInterface(kIidMapiProp, reinterpret_cast<void**>(&prop)))) return nullptr;
        return prop;
    } catch (const AutomationFailure&) {
        return nullptr;
    }
}

// PT_STRING8 values are in the ANSI code page; the program keeps UTF-8.
std::string AnsiFromUtf8(const std::string& text) {
    const std::wstring wide = Widen(text);
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::string Utf8FromAnsi(const char* text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 1) return {};
    std::wstring wide(static_cast<size_t>(size - 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
    return Narrow(wide);
}

using FreeBufferFunction = ULONG(WINAPI*)(void*);

// MAPIFreeBuffer of the MAPI library the MAPI object came from (loaded in this process when it is).
FreeBufferFunction MapiFreeBuffer() {
    HMODULE mapi = GetModuleHandleW(L"mapi32.dll");
    if (!mapi) return nullptr;
    auto function = reinterpret_cast<FreeBufferFunction>(reinterpret_cast<void*>(GetProcAddress(mapi, "MAPIFreeBuffer")));
    if (!function) function = reinterpret_cast<FreeBufferFunction>(reinterpret_cast<void*>(GetProcAddress(mapi, "MAPIFreeBuffer@4")));
    return function;
}

}  // namespace

bool WriteSenderProperties(const Dispatch& item, const std::string& senderText) {
    if (IMAPIProp* prop = MapiPropOf(item)) {
        std::string ansi = AnsiFromUtf8(senderText);
        SPropValue values[2] = {};
        values[0].ulPropTag = kSentRepresentingName;
        values[0].Value.lpszA = ansi.data();
        values[1].ulPropTag = kIconIndex;
        values[1].Value.l = 0;
        const HRESULT hr = prop->SetProps(2, values, nullptr);
        prop->Release();
        if (SUCCEEDED(hr)) return true;
    }
    try {
        Dispatch accessor = item.GetObject(L"PropertyAccessor");
        Variant name(std::string(kPropTagSchema) + "0x0042001F"), text(senderText);
        accessor.Call(L"SetProperty", {&name, &text});
        Variant icon(std::string(kPropTagSchema) + "0x10800003"), zero(0L);
        accessor.Call(L"SetProperty", {&icon, &zero});
        return true;
    } catch (const AutomationFailure&) {
        return false;
    }
}

ReadProperties ReadItemProperties(const Dispatch& item) {
    ReadProperties read;
    if (IMAPIProp* prop = MapiPropOf(item)) {
        SizedSPropTagArray(3, tags) = {3, {kDisplayTo, kDisplayCc, kBody}};
        ULONG count = 0;
        SPropValue* values = nullptr;
        const HRESULT hr = prop->GetProps(reinterpret_cast<SPropTagArray*>(&tags), 0, &count, &values);
        if (SUCCEEDED(hr) && values) {
            for (ULONG i = 0; i < count; ++i) {
                if (PROP_TYPE(values[i].ulPropTag) != PT_STRING8 || !values[i].Value.lpszA) continue;
                const std::string text = Utf8FromAnsi(values[i].Value.lpszA);
                if (values[i].ulPropTag == kDisplayTo) read.to = text;
                else if (values[i].ulPropTag == kDisplayCc) read.cc = text;
                else if (values[i].ulPropTag == kBody) read.body = text;
            }
            if (const auto free = MapiFreeBuffer()) free(values);
        }
        prop->Release();
        if (SUCCEEDED(hr)) return read;
    }
    const auto readText = [&item](const wchar_t* name) -> std::optional<std::string> {
        try {
            return item.GetText(name);
        } catch (const AutomationFailure&) {
            return std::nullopt;
        }
    };
    read.to = readText(L"To");
    read.cc = readText(L"CC");
    read.body = readText(L"Body");
    return read;
}

}  // namespace pagelark
