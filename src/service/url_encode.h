#pragma once
// Escaping of query values. The service decodes percent escapes of Windows-1252 bytes, so both
// functions work on bytes: convert UTF-8 text with Utf8ToCp1252 first.
#include <string>
#include <string_view>

namespace pagelark {

// The service's own escaping: "%" first, then the 51 bytes of its table, each as "%XX" with
// upper-case hexadecimal digits; then every remaining control byte and byte of 0x7F and above,
// which would not survive the trip in an address. Every other byte ("+" among them) passes unchanged.
std::string UrlEncode(std::string_view bytes);
inline void UrlEncodeInPlace(std::string& bytes) { bytes = UrlEncode(bytes); }

// For the values sent without UrlEncode (numbers, times, addresses, PIN, version): escapes only
// what could not stand in an address or would split the query (control bytes, blank, '"', '#',
// '%', '&', '<', '>', bytes of 0x7F and above), so a stray "&" can never add a parameter.
// "+" and every other byte pass unchanged.
std::string EscapeUnsafeQueryBytes(std::string_view bytes);

// For the values of the web-site links the browser opens: every byte except letters, digits and
// "-", ".", "_", "~" as "%XX", so "&", "#", "+" or a blank in a user name stay part of the value.
std::string EscapeLinkValue(std::string_view bytes);

}  // namespace pagelark
