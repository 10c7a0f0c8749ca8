#include "common/mask.h"
#include "common/text.h"

namespace common {

// One wildcard pattern against one name; '*' any run, '?' one character.
bool Mask::Wildcard(std::wstring_view pattern, std::wstring_view name) const {
    size_t p = 0, n = 0, star = std::wstring::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] != L'*' && (pattern[p] == L'?' || pattern[p] == name[n] || same_(pattern[p], name[n]))) {
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

Mask::Mask(const std::wstring& text, SameChar same) : same_(same) {
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find_first_of(L";,", start);
        const std::wstring piece = TrimSpaces(std::wstring_view(text).substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (!piece.empty()) patterns_.push_back(piece);
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
}

bool Mask::Matches(const std::wstring& name) const {
    if (patterns_.empty()) return true;
    for (const std::wstring_view p : patterns_) {
        if (Wildcard(p, name)) return true;
        // As on Windows: "name.*" also matches "name", and "*." a name without an extension.
        if (p.size() >= 2 && p.ends_with(L".*") && Wildcard(p.substr(0, p.size() - 2), name)) return true;
        if (p.size() >= 2 && p.back() == L'.' && name.find(L'.') == std::wstring::npos &&
            Wildcard(p.substr(0, p.size() - 1), name))
            return true;
    }
    return false;
}

}  // namespace common
