// File name masks: Windows wildcards, case-insensitive, several separated by ';' or ','.
#pragma once
#include <string>
#include <vector>

namespace common {

// Whether two UTF-16 code units are the same letter in any case; the caller
// hands in the file system's comparison so that masks fold case as names do.
using SameChar = bool (*)(wchar_t, wchar_t);

class Mask {
public:
    Mask(const std::wstring& text, SameChar same);  // empty: every name
    bool Matches(const std::wstring& name) const;

private:
    bool Wildcard(std::wstring_view pattern, std::wstring_view name) const;
    std::vector<std::wstring> patterns_;
    SameChar same_;
};

}  // namespace common
