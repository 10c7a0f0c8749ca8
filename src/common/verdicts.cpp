#include "common/verdicts.h"

#include "common/utf8.h"

namespace common::verdicts {

std::string Write(Kind kind, std::initializer_list<std::wstring_view> fields) {
    std::wstring line(Forms[kind].word);
    for (const std::wstring_view field : fields) {
        line += L'\t';
        for (const wchar_t c : field) line += c == L'\t' || c == L'\r' || c == L'\n' ? L'\xFFFD' : c;
    }
    return ToUtf8(line + L"\r\n");
}

std::optional<Verdict> Read(std::wstring_view line) {
    std::vector<std::wstring_view> parts;
    for (size_t from = 0;;) {
        const size_t tab = line.find(L'\t', from);
        parts.push_back(line.substr(from, tab - from));
        if (tab == std::wstring_view::npos) break;
        from = tab + 1;
    }
    for (int k = 0; k < KindCount; ++k) {
        const size_t fields = parts.size() - 1;
        if (parts[0] == Forms[k].word && fields >= Forms[k].least && fields <= Forms[k].most)
            return Verdict{Kind(k), std::vector<std::wstring_view>(parts.begin() + 1, parts.end())};
    }
    return std::nullopt;
}

}  // namespace common::verdicts
