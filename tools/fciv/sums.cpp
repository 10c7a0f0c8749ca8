#include "sums.h"

#include <algorithm>

namespace fciv {

namespace {

// A GNU name that begins its line with a backslash has "\\", "\n" and "\r" escaped.
bool Unescape(std::string_view in, std::string& out) {
    out.clear();
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            out.push_back(in[i]);
            continue;
        }
        if (++i == in.size()) return false;
        if (in[i] == '\\') out.push_back('\\');
        else if (in[i] == 'n') out.push_back('\n');
        else if (in[i] == 'r') out.push_back('\r');
        else return false;
    }
    return true;
}

bool ParseBsd(std::string_view line, SumEntry& e) {
    for (int a = 0; a < AlgorithmCount; ++a) {
        const std::string prefix = std::string(AlgorithmNames[a]) + " (";
        if (!line.starts_with(prefix)) continue;
        const size_t close = line.rfind(") = ");
        if (close == std::string_view::npos || close < prefix.size()) return false;
        e.algorithm = Algorithm(a);
        e.hex = NormalHex(line.substr(close + 4), e.algorithm);
        e.name = std::string(line.substr(prefix.size(), close - prefix.size()));
        return !e.hex.empty() && !e.name.empty();
    }
    return false;
}

bool ParseGnu(std::string_view line, bool escaped, SumEntry& e) {
    const size_t space = line.find(' ');
    if (space == std::string_view::npos || space + 2 > line.size() || (line[space + 1] != ' ' && line[space + 1] != '*'))
        return false;
    e.algorithm = AlgorithmOfDigits(space);
    if (e.algorithm == AlgorithmCount) return false;
    e.hex = NormalHex(line.substr(0, space), e.algorithm);
    const std::string_view name = line.substr(space + 2);
    if (e.hex.empty() || name.empty()) return false;
    if (!escaped) {
        e.name = std::string(name);
        return true;
    }
    return Unescape(name, e.name);
}

}  // namespace

Algorithm AlgorithmOfDigits(size_t digits) {
    const auto found = std::find(HexDigits.begin(), HexDigits.end(), digits);
    return found == HexDigits.end() ? AlgorithmCount : Algorithm(found - HexDigits.begin());
}

std::string NormalHex(std::string_view text, Algorithm algorithm) {
    if (text.size() != HexDigits[algorithm]) return {};
    std::string hex(text);
    for (char& c : hex) {
        if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
        else if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return {};
    }
    return hex;
}

SumsFile ParseSums(std::string_view text) {
    SumsFile file;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    for (size_t start = 0, number = 1; start < text.size(); ++number) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos || line.starts_with('#')) continue;
        const bool escaped = line.starts_with('\\');
        if (escaped) line.remove_prefix(1);
        SumEntry e{};
        e.line = number;
        if (ParseBsd(line, e) || ParseGnu(line, escaped, e)) file.entries.push_back(std::move(e));
        else file.badLines.push_back(number);
    }
    return file;
}

}  // namespace fciv
