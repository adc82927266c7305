#include "mailclients/mapi_objects_win.h"

#include "common/ansi_code_page_win.h"
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
    return Utf8FromAnsi(value->Value.lpszA);
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
    return Utf8FromAnsi(value->Value.lpszA);
}


}  // namespace pagelark
