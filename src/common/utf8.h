// UTF-8 and UTF-16: what the window and the hashing tool both convert.
#pragma once
#include <string>
#include <string_view>

namespace common {

// Decodes UTF-8 bytes to UTF-16 code units (one per wchar_t on every platform).
// Never fails: each malformed piece becomes U+FFFD and decoding goes on with
// the byte after what it consumed; an ASCII byte is never taken into a sequence.
// Surrogate code points written as three bytes come through as single units.
std::wstring Utf8Decode(std::string_view bytes);

// Appends a code point as one UTF-16 unit, or as a surrogate pair above U+FFFF.
void AppendUtf16(std::wstring& out, char32_t cp);

// The code point at i of UTF-16 text, moving i past it; a lone surrogate comes back as itself.
char32_t NextCodePoint(std::wstring_view text, size_t& i);

bool IsSurrogate(char32_t cp);

// Appends a code point as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);

}  // namespace common
