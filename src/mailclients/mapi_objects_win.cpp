#include "mailclients/mapi_objects_win.h"

#include "common/wide_string_win.h"

namespace pagelark {

const SPropValue* FindColumn(const SRow& row, ULONG tag) {
    if (!row.lpProps) return nullptr;
    for (ULONG i = 0; i < row.cValues; ++i)
        if (row.lpProps[i].ulPropTag == tag) return &row.lpProps[i];
    return nullptr;
}

std::optional<std::string> StringColumn(const SRow& row, ULONG tag) {
    const SPropValue* value = FindColumn(row, tag);
    if (!value || PROP_TYPE(tag) != PT_STRING8 || !value->Value.lpszA) return std::nullopt;
    return FromAnsi(value->Value.lpszA);
}

std::optional<std::string> BinaryColumn(const SRow& row, ULONG tag) {
    const SPropValue* value = FindColumn(row, tag);
    if (!value || PROP_TYPE(tag) != PT_BINARY) return std::nullopt;
    if (value->Value.bin.cb && !value->Value.bin.lpb) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(value->Value.bin.lpb), value->Value.bin.cb);
}

std::optional<std::string> ReadStringProp(IMAPIProp* object, ULONG tag) {
    if (!object) return std::nullopt;
    MapiBuffer<SPropValue> value;
    if (FAILED(HrGetOneProp(object, tag, value.receive())) || !value.get()) return std::nullopt;
    if (PROP_TYPE(value->ulPropTag) != PT_STRING8 || !value->Value.lpszA) return std::nullopt;
    return FromAnsi(value->Value.lpszA);
}

std::string FromAnsi(std::string_view ansi) {
    if (ansi.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return Narrow(wide);
}

std::string ToAnsi(std::string_view utf8) {
    const std::wstring wide = Widen(utf8);
    if (wide.empty()) return {};
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length, nullptr,
                        nullptr);
    return ansi;
}

}  // namespace pagelark
