#include "common/verdicts.h"

#include <algorithm>

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
    const size_t fields = parts.size() - 1;
    const auto form = std::find_if(Forms.begin(), Forms.end(),
                                   [&](const Form& f) { return f.word == parts[0] && fields >= f.least && fields <= f.most; });
    if (form == Forms.end()) return std::nullopt;
    return Verdict{Kind(form - Forms.begin()), std::vector<std::wstring_view>(parts.begin() + 1, parts.end())};
}

}  // namespace common::verdicts
