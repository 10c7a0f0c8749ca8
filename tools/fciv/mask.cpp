#include "mask.h"

namespace fciv {

namespace {

// Simple case folding: ASCII, Latin-1, Greek and Cyrillic.
wchar_t Fold(wchar_t c) {
    if (c < 0x80) return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB) || (c >= 0x410 && c <= 0x42F))
        return static_cast<wchar_t>(c + 32);
    if (c >= 0x400 && c <= 0x40F) return static_cast<wchar_t>(c + 80);
    return c;
}

std::wstring Trim(const std::wstring& s) {
    const size_t a = s.find_first_not_of(L' ');
    if (a == std::wstring::npos) return {};
    return s.substr(a, s.find_last_not_of(L' ') - a + 1);
}

}  // namespace

bool WildcardMatch(const std::wstring& pattern, const std::wstring& name) {
    size_t p = 0, n = 0, star = std::wstring::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            resume = n;
        } else if (star != std::wstring::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

Mask::Mask(const std::wstring& text) {
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find_first_of(L";,", start);
        const std::wstring piece = Trim(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (!piece.empty()) patterns_.push_back(piece);
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
}

bool Mask::Matches(const std::wstring& name) const {
    if (patterns_.empty()) return true;
    for (const auto& p : patterns_) {
        if (WildcardMatch(p, name)) return true;
        // As on Windows: "name.*" also matches "name", and "*." a name without an extension.
        if (p.size() >= 2 && p.compare(p.size() - 2, 2, L".*") == 0 && WildcardMatch(p.substr(0, p.size() - 2), name))
            return true;
        if (p.size() >= 2 && p.back() == L'.' && name.find(L'.') == std::wstring::npos &&
            WildcardMatch(p.substr(0, p.size() - 1), name))
            return true;
    }
    return false;
}

}  // namespace fciv
