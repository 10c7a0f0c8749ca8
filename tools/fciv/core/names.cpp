#include "fciv/core/names.h"

#include <vector>

namespace fciv {

namespace {

// The length of a full path's root: "C:\" or "\\host\share\" ("\\?\" and "\\.\" count as hosts).
size_t RootLength(const std::wstring& path) {
    if (!path.starts_with(L"\\\\")) return std::min<size_t>(path.size(), 3);
    const size_t host = path.find(L'\\', 2);
    const size_t share = host == std::wstring::npos ? host : path.find(L'\\', host + 1);
    return share == std::wstring::npos ? path.size() : share + 1;
}

}  // namespace

std::wstring ResolveName(const std::wstring& base, const std::wstring& name) {
    std::wstring root, rest;
    if (name.starts_with(L"\\\\?\\")) return name;
    if (name.starts_with(L"\\\\") || (name.size() >= 2 && name[1] == L':')) {
        const size_t n = name.size() >= 2 && name[1] == L':' ? 2 : RootLength(name);
        root = name.substr(0, n);
        if (!root.ends_with(L'\\')) root += L'\\';
        rest = name.substr(n);
    } else {
        const size_t n = RootLength(base);
        root = base.substr(0, n);
        if (!root.ends_with(L'\\')) root += L'\\';
        rest = name.starts_with(L'\\') ? name : base.substr(n) + L'\\' + name;
    }
    std::vector<std::wstring> parts;
    for (size_t from = 0; from <= rest.size();) {
        const size_t end = std::min(rest.find(L'\\', from), rest.size());
        const std::wstring part = rest.substr(from, end - from);
        from = end + 1;
        if (part == L"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != L".") {
            parts.push_back(part);
        }
    }
    std::wstring path = root;
    for (const std::wstring& part : parts) path += part + L'\\';
    if (!parts.empty() && !name.ends_with(L'\\')) path.pop_back();
    return path;
}

bool IsFullPath(std::wstring_view name) { return name.starts_with(L'\\') || name.starts_with(L'/') || (name.size() >= 2 && name[1] == L':'); }

std::wstring SumsLine(std::string_view hex, std::wstring_view name) {
    const std::wstring digits(hex.begin(), hex.end());
    if (name.find_first_of(L"\r\n") == std::wstring::npos) return digits + L"  " + std::wstring(name) + L"\r\n";
    std::wstring escaped;
    for (wchar_t c : name) escaped += c == L'\\' ? L"\\\\" : c == L'\n' ? L"\\n" : c == L'\r' ? L"\\r" : std::wstring(1, c);
    return L"\\" + digits + L"  " + escaped + L"\r\n";
}

}  // namespace fciv
