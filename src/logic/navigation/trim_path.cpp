#include "common/text.h"
#include "logic/navigation/trim_path.h"

namespace navigation {

std::wstring TrimToLastFolder(const std::wstring& path) {
    if (path.size() < 2) return path;
    const size_t i = path.find_last_of(L'\\', path.size() - 2);
    return i == std::wstring::npos ? path : path.substr(0, i + 1);
}

std::wstring CleanTypedPath(const std::wstring& path) {
    std::wstring clean = common::TrimSpaces(path);
    if (clean.size() >= 2 && clean.front() == L'"' && clean.back() == L'"') clean = common::TrimSpaces(std::wstring_view(clean).substr(1, clean.size() - 2));
    return clean;
}

}  // namespace navigation
