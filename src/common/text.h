// Text helpers that both programs use: blanks trimmed, ASCII letters folded.
#pragma once
#include <string>
#include <string_view>

namespace common {

// The text without the `blanks` at its start, its end or both.
template <class Char>
std::basic_string_view<Char> TrimStart(std::basic_string_view<Char> text, std::basic_string_view<Char> blanks) {
    text.remove_prefix(std::min(text.find_first_not_of(blanks), text.size()));
    return text;
}
template <class Char>
std::basic_string_view<Char> TrimEnd(std::basic_string_view<Char> text, std::basic_string_view<Char> blanks) {
    const size_t last = text.find_last_not_of(blanks);
    return text.substr(0, last == text.npos ? 0 : last + 1);
}
template <class Char>
std::basic_string_view<Char> Trim(std::basic_string_view<Char> text, std::basic_string_view<Char> blanks) {
    return TrimEnd(TrimStart(text, blanks), blanks);
}
// Spaces only, as typed into a box.
inline std::wstring TrimSpaces(std::wstring_view text) { return std::wstring(Trim(text, std::wstring_view(L" "))); }

// A..Z to a..z (or back); every other character as it is.
template <class Char>
Char AsciiLower(Char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<Char>(c + ('a' - 'A')) : c;
}
template <class Char>
Char AsciiUpper(Char c) {
    return c >= 'a' && c <= 'z' ? static_cast<Char>(c - ('a' - 'A')) : c;
}
template <class Char>
std::basic_string<Char> AsciiLower(std::basic_string_view<Char> text) {
    std::basic_string<Char> out(text);
    for (auto& c : out) c = AsciiLower(c);
    return out;
}
template <class Char>
std::basic_string<Char> AsciiUpper(std::basic_string_view<Char> text) {
    std::basic_string<Char> out(text);
    for (auto& c : out) c = AsciiUpper(c);
    return out;
}

}  // namespace common
