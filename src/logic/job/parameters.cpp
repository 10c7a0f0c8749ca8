#include "logic/job/parameters.h"

namespace job {

std::wstring QuoteArgument(const std::wstring& arg) {
    const bool enclose = arg.find_first_of(L" \t") != std::wstring::npos;
    if (!enclose && arg.find(L'"') == std::wstring::npos) return arg;
    std::wstring out = enclose ? L"\"" : L"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out.push_back(c);
    }
    if (!enclose) return out.append(backslashes, L'\\');
    out.append(backslashes * 2, L'\\');
    out.push_back(L'"');
    return out;
}

std::wstring HashTypeText(const std::array<HashBox, 3>& boxes) {
    if (boxes[0].ticked && boxes[1].ticked && !boxes[2].ticked) return L" -both";
    std::wstring text;
    for (const HashBox& box : boxes)
        if (box.ticked) text += L" " + box.tag;
    return text;
}

std::wstring MaskText(const std::wstring& pattern) {
    return pattern == L"*.*" ? std::wstring() : L" -type " + QuoteArgument(pattern);
}

std::wstring SwitchText(bool recursive, bool namesOnly) {
    std::wstring text = recursive ? L" -r" : L"";
    if (namesOnly) text += L" -wp";
    return text;
}

std::wstring ParameterString(const std::wstring& folder, const std::wstring& switches, const std::wstring& mask,
                             const std::wstring& hashType, const std::wstring& database) {
    return QuoteArgument(folder) + switches + mask + hashType + L" -xml " + QuoteArgument(database);
}

std::wstring DatabaseName(int n) { return n == 1 ? L"dbsha.xml" : L"dbsha (" + std::to_wstring(n) + L").xml"; }

}  // namespace job
