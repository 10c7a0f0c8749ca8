#include <gtest/gtest.h>

#include "common/utf8.h"

namespace {

using common::Utf8Decode;

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

TEST(Utf8Decode, DecodesValidSequences) {
    const struct {
        std::string in;
        std::wstring out;
    } cases[] = {
        {"", L""},
        {Bytes({'a', 0, 0x7F, '\r', '\n'}), std::wstring(L"a\0\x7F\r\n", 5)},
        {Bytes({0xD0, 0x9F, 0xD1, 0x80, 0xD0, 0xB8}), L"\x041F\x0440\x0438"},
        {Bytes({0xE2, 0x82, 0xAC}), L"\x20AC"},
        {Bytes({0xE8, 0xAA, 0x9E}), L"\x8A9E"},
        {Bytes({0xEF, 0xBB, 0xBF, '<'}), L"\xFEFF<"},
        {Bytes({0xED, 0xA0, 0x80}), std::wstring(1, static_cast<wchar_t>(0xD800))},  // a lone surrogate survives
        {Bytes({0xC2, 0x80}), L"\x0080"},
        {Bytes({0xEF, 0xBF, 0xBF}), L"\xFFFF"},
        // Four bytes become a surrogate pair and swallow nothing after them.
        {Bytes({0xF0, 0x9F, 0x98, 0x80, 0x3C}),
         std::wstring{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00), L'<'}},
        {Bytes({0xF4, 0x8F, 0xBF, 0xBF}), std::wstring{static_cast<wchar_t>(0xDBFF), static_cast<wchar_t>(0xDFFF)}},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8Decode(c.in), c.out);
}

TEST(Utf8Decode, MalformedInputNeverSwallowsWhatFollows) {
    const std::wstring R = L"\xFFFD";
    const struct {
        std::string in;
        std::wstring out;
    } cases[] = {
        {Bytes({0x80, 0x41}), R + L"A"},              // a stray continuation byte
        {Bytes({0xBF}), R},                           //
        {Bytes({0xD0, 0x41}), R + L"A"},              // cut short by an ASCII byte
        {Bytes({0xE2, 0x82, '<'}), R + L"<"},         //
        {Bytes({'x', 0xD0}), L"x" + R},               // cut short by the end
        {Bytes({0xE2, 0x82}), R},                     //
        {Bytes({0xF0, 0x9F, 0x98}), R},               //
        {Bytes({0xD0, 0xD0, 0x9F}), R + L"\x041F"},   // a lead byte ends the sequence before it
        {Bytes({0xC0, 0x80}), R},                     // overlong forms
        {Bytes({0xE0, 0x80, 0xAF}), R},               //
        {Bytes({0xF0, 0x82, 0x82, 0xAC}), R},         //
        {Bytes({0xF4, 0x90, 0x80, 0x80}), R},         // beyond U+10FFFF
        {Bytes({0xF8, 0x88, 0x80, 0x80, 0x80}), R + R + R + R + R},
        {Bytes({0xFF, '<', '/'}), R + L"</"},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8Decode(c.in), c.out);
}

}  // namespace
