// File name masks: Windows wildcards, case-insensitive, several separated by ';' or ','.
#pragma once
#include <string>
#include <vector>

namespace fciv {

class Mask {
public:
    explicit Mask(const std::wstring& text);  // empty: every name
    bool Matches(const std::wstring& name) const;

private:
    std::vector<std::wstring> patterns_;
};

// One wildcard pattern against one name; '*' any run, '?' one character.
bool WildcardMatch(const std::wstring& pattern, const std::wstring& name);

}  // namespace fciv
