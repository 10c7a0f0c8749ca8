#pragma once
#include <array>
#include <string>

namespace job {

// The pieces of the tool's parameter string, each built at its own step of a job.

// A hash type's check box: ticked or not, and its Tag (the tool's switch).
struct HashBox {
    bool ticked;
    std::wstring tag;
};
// For the md5, sha1 and sha256 boxes: " -both" for md5 and sha1 alone, else " <tag>" for each ticked box in order.
std::wstring HashTypeText(const std::array<HashBox, 3>& boxes);
// Empty for exactly "*.*", else " -type " and the (quoted when needed) mask.
std::wstring MaskText(const std::wstring& pattern);
// " -r" and then " -wp", each when its box is ticked.
std::wstring SwitchText(bool recursive, bool namesOnly);
// folder + switches + mask + hash type + " -xml " + the database's path.
std::wstring ParameterString(const std::wstring& folder, const std::wstring& switches, const std::wstring& mask,
                             const std::wstring& hashType, const std::wstring& database);
// The database's name for the n-th of the jobs that run at once: "dbsha.xml", "dbsha (2).xml", ...
std::wstring DatabaseName(int n);

// The argument in double quotes when it holds a blank or a tab, by the Windows
// rules: backslashes before a quote, and trailing ones, are doubled; a quote
// inside is escaped, so that it cannot swallow the switches after it.
std::wstring QuoteArgument(const std::wstring& arg);

}  // namespace job
