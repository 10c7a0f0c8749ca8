#include "navigation/trim_path.h"

namespace navigation {

std::wstring TrimToLastFolder(const std::wstring& path) {
    if (path.size() < 2) return path;
    const size_t i = path.find_last_of(L'\\', path.size() - 2);
    return i == std::wstring::npos ? path : path.substr(0, i + 1);
}

std::wstring CleanTypedPath(const std::wstring& path) {
    const auto trim = [](std::wstring s) {
        s.erase(0, s.find_first_not_of(L' '));
        s.erase(s.find_last_not_of(L' ') + 1);
        return s;
    };
    std::wstring clean = trim(path);
    if (clean.size() >= 2 && clean.front() == L'"' && clean.back() == L'"') clean = trim(clean.substr(1, clean.size() - 2));
    return clean;
}

}  // namespace navigation
