#include "platform/system_text.h"

#include "platform/win.h"

namespace platform {

bool SameCharIgnoringCase(wchar_t a, wchar_t b) {
    if (a < 0x80 && b < 0x80) {
        const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
        return lower(a) == lower(b);
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
    s.erase(s.find_last_not_of(L' ') + 1);
    return s;
}

}  // namespace platform
