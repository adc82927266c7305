#pragma once
// The stored form of the account password. The transform works on bytes (modulo 256) and the
// result is kept as a zero-terminated ANSI string, so the clear text travels as Windows-1252 bytes.
#include <string>
#include <string_view>

namespace pagelark {

// Byte i (i < n-1) is p[i+1] + p[0]; the last byte is p[0] + 2. Empty stays empty.
std::string ScramblePassword(std::string_view clearBytes);
// The inverse: p[0] = s[n-1] - 2, p[i] = s[i-1] - p[0].
std::string UnscramblePassword(std::string_view storedBytes);

// The bytes as they come back from the ANSI registry functions, which convert through the
// system's ANSI code page on the way in and out: on a system whose code page is not 1252, bytes
// that page leaves undefined come back changed.
using AnsiRoundTrip = std::string (*)(std::string_view bytes);

// Whether a password (UTF-8) survives storage whole: every character exists in Windows-1252, no
// scrambled byte is zero (which would cut the stored string short) and, with `throughAnsi`, the
// scrambled bytes come back from the ANSI code page unchanged. Entry dialogs refuse a password
// for which this is false, with the text IDS_PASSWORD_NOT_STORABLE.
bool IsStorablePassword(std::string_view utf8Password, AnsiRoundTrip throughAnsi = nullptr);

}  // namespace pagelark
