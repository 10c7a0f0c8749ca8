#include "win32/system_text.h"

#include "common/text.h"
#include "win32/win.h"

namespace win32 {

bool SameCharIgnoringCase(wchar_t a, wchar_t b) {
    if (a < 0x80 && b < 0x80) {
        return common::AsciiLower(a) == common::AsciiLower(b);
    }
    return CompareStringOrdinal(&a, 1, &b, 1, TRUE) == CSTR_EQUAL;
}

std::wstring SystemMessage(unsigned long code) {
    wchar_t text[512];
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                   512, nullptr);
    std::wstring s(text, n);
    for (auto& c : s)
        if (c == L'\r' || c == L'\n') c = L' ';
    return std::wstring(common::TrimEnd(std::wstring_view(s), std::wstring_view(L" ")));
}

}  // namespace win32
