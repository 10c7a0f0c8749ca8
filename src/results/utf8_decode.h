#pragma once
#include <string>
#include <string_view>

namespace results {

// Decodes UTF-8 bytes to UTF-16 code units (one per wchar_t on every platform).
// Never fails: each malformed piece becomes U+FFFD and decoding goes on with
// the byte after what it consumed; an ASCII byte is never taken into a sequence.
// Surrogate code points written as three bytes come through as single units.
std::wstring Utf8Decode(std::string_view bytes);

// Appends a code point as one UTF-16 unit, or as a surrogate pair above U+FFFF.
void AppendUtf16(std::wstring& out, char32_t cp);

}  // namespace results
