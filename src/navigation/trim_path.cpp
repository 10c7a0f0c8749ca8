#include "navigation/trim_path.h"

namespace navigation {

std::wstring TrimToLastFolder(const std::wstring& path) {
    if (path.size() < 2) return path;
    const size_t i = path.find_last_of(L'\\', path.size() - 2);
    return i == std::wstring::npos ? path : path.substr(0, i + 1);
}

}  // namespace navigation
