#include "common/sums.h"
#include "common/report_format.h"
#include "common/text.h"
#include "common/utf8.h"

#include <algorithm>
#include <cstdlib>

namespace fciv {

namespace {

enum class Read { Entry, NotSums, Unsupported, Other };  // Other: not this form

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsTagChar(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-'; }

// A name of a line that begins with a backslash has "\\", "\n" and "\r" escaped.
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

bool TakeName(std::string_view name, bool escaped, SumEntry& e) {
    if (name.empty()) return false;
    if (!escaped) e.name = std::string(name);
    return !escaped || Unescape(name, e.name);
}

// "TAG (NAME) = HASH"
Read ReadTagged(std::string_view line, bool escaped, SumEntry& e, std::string& tag) {
    const size_t open = line.find(" (");
    if (open == 0 || open == std::string_view::npos) return Read::Other;
    tag = std::string(line.substr(0, open));
    if (!std::all_of(tag.begin(), tag.end(), IsTagChar)) return Read::Other;
    const size_t close = line.rfind(") = ");
    if (close == std::string_view::npos || close < open + 2) return Read::Other;
    const std::string_view hex = line.substr(close + 4);
    const auto known = std::find(AlgorithmNames.begin(), AlgorithmNames.end(), tag);
    if (!TakeName(line.substr(open + 2, close - open - 2), escaped, e) || hex.empty()) return Read::NotSums;
    if (known == AlgorithmNames.end()) return std::all_of(hex.begin(), hex.end(), IsHexDigit) ? Read::Unsupported : Read::NotSums;
    e.algorithm = Algorithm(known - AlgorithmNames.begin());
    e.hex = NormalHex(hex, e.algorithm);
    return e.hex.empty() ? Read::NotSums : Read::Entry;
}

// "HASH  NAME", "HASH *NAME", "HASH NAME", "HASH<tab>NAME"
Read ReadUntagged(std::string_view line, bool escaped, const NamedAlgorithm& byName, SumEntry& e, std::string& tag) {
    const size_t digits = std::find_if_not(line.begin(), line.end(), IsHexDigit) - line.begin();
    if (digits == 0 || digits == line.size() || !IsBlank(line[digits])) return Read::NotSums;
    size_t from = digits + 1;
    if (from < line.size() && (line[from] == ' ' || line[from] == '*')) ++from;  // the text or binary mark
    if (!TakeName(line.substr(from), escaped, e)) return Read::NotSums;
    if (!byName.name.empty() && byName.known == AlgorithmCount) {
        tag = byName.name;
        return Read::Unsupported;
    }
    e.guessed = byName.name.empty();
    if (!e.guessed) {
        e.algorithm = byName.known;
    } else {
        const auto found = std::find(HexDigits.begin(), HexDigits.end(), digits);
        if (digits == 56) {
            tag = "SHA224";
            return Read::Unsupported;
        }
        if (found == HexDigits.end()) return Read::NotSums;
        e.algorithm = Algorithm(found - HexDigits.begin());
    }
    e.hex = NormalHex(line.substr(0, digits), e.algorithm);
    return e.hex.empty() ? Read::NotSums : Read::Entry;
}

}  // namespace

NamedAlgorithm AlgorithmOfFileName(std::string_view fileName) {
    const std::string name = common::AsciiUpper(fileName.substr(fileName.find_last_of("\\/") + 1));
    static const struct {
        const char *tag, *name;
        Algorithm known;
    } table[] = {{"MD5", "MD5", Md5},          {"SHA1", "SHA1", Sha1},       {"SHA224", "SHA224", AlgorithmCount},
                 {"SHA256", "SHA256", Sha256}, {"SHA384", "SHA384", Sha384}, {"SHA512", "SHA512", Sha512},
                 {"B2", "BLAKE2b", AlgorithmCount}};
    for (const auto& t : table) {
        const std::string sums = std::string(t.tag) + "SUMS";
        if (name == sums || name.starts_with(sums + ".") || name.ends_with(std::string(".") + t.tag)) return {t.known, t.name};
    }
    return {};
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

bool IsNetworkOrDevice(std::string_view name) {
    return name.size() >= 2 && (name[0] == '\\' || name[0] == '/') && (name[1] == '\\' || name[1] == '/');
}

namespace {

const std::string ReportRule = common::ToUtf8(common::report::Rule);  // what follows the report's entries is no entry

bool IsReportHash(std::string_view line) { return line.starts_with("MD5:") || line.starts_with("SHA1:"); }

// The lines of text, each without its line end.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// A report the window saved: its first line a name, its second a hash line.
bool IsReport(const std::vector<std::string_view>& lines) {
    return lines.size() >= 2 && !lines[0].empty() && !IsReportHash(lines[0]) && IsReportHash(lines[1]);
}

// What follows the rule from line `i` on: the count of unread files, each one's name and
// error line, and last the line of an interrupted job. Anything else is a bad line.
void ReadReportEnd(const std::vector<std::string_view>& lines, size_t i, SumsFile& file) {
    static const std::string count = common::ToUtf8(common::report::UnreadCount), error = common::ToUtf8(common::report::UnreadError),
                             interrupted = common::ToUtf8(common::report::Interrupted);
    for (; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i].starts_with(count)) continue;
        if (lines[i] == interrupted) {
            file.problems.push_back({.line = i + 1, .problem = LineProblem::Interrupted});
        } else if (i + 1 < lines.size() && lines[i + 1].starts_with(error)) {
            const std::string number(lines[i + 1].substr(error.size(), 9));
            file.problems.push_back({.line = i + 1, .problem = LineProblem::NotRecorded, .name = std::string(lines[i]),
                                     .error = std::strtoul(number.c_str(), nullptr, 10)});
            ++i;
        } else {
            file.problems.push_back({.line = i + 1, .problem = LineProblem::NotSums});
        }
    }
}

SumsFile ParseReport(const std::vector<std::string_view>& lines) {
    SumsFile file;
    std::string_view name;
    size_t i = 0;
    const auto nameWithoutHash = [&] {  // the name line before line i, when no hash line followed it
        if (!name.empty() && !IsReportHash(lines[i - 1])) file.problems.push_back({.line = i, .problem = LineProblem::NotSums});
    };
    for (; i < lines.size() && lines[i] != ReportRule; ++i) {
        const std::string_view line = lines[i];
        if (!IsReportHash(line)) {
            nameWithoutHash();
            name = line;
            continue;
        }
        SumEntry e{line[0] == 'M' ? Md5 : Sha1, {}, std::string(name), i + 1};
        e.hex = NormalHex(line.substr(line.find(':') + 1), e.algorithm);
        if (e.hex.empty() || name.empty()) file.problems.push_back({.line = i + 1, .problem = LineProblem::NotSums});
        else if (IsNetworkOrDevice(e.name)) file.problems.push_back({.line = i + 1, .problem = LineProblem::Refused});
        else file.entries.push_back(std::move(e));
    }
    nameWithoutHash();  // a report cut after a name
    ReadReportEnd(lines, i + 1, file);
    return file;
}

}  // namespace

SumsFile ParseSums(std::string_view text, const NamedAlgorithm& byName) {
    SumsFile file;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const auto lines = Lines(text);
    if (IsReport(lines)) return ParseReport(lines);
    bool armourHeader = false, signature = false;
    for (size_t number = 1; number <= lines.size(); ++number) {
        std::string_view line = lines[number - 1];
        if (signature) {
            signature = line != "-----END PGP SIGNATURE-----";
            continue;
        }
        if (armourHeader) {
            armourHeader = !line.empty();
            continue;
        }
        armourHeader = line == "-----BEGIN PGP SIGNED MESSAGE-----";
        signature = line == "-----BEGIN PGP SIGNATURE-----";
        if (armourHeader || signature) continue;
        if (line.starts_with("- ")) line.remove_prefix(2);  // dash-escaped in a signed message
        line = common::TrimStart(line, std::string_view(" \t"));
        if (line.empty() || line.starts_with('#')) continue;
        const bool escaped = line.starts_with('\\');
        if (escaped) line.remove_prefix(1);
        SumEntry e{};
        e.line = number;
        std::string tag;
        Read read = ReadTagged(line, escaped, e, tag);
        if (read == Read::Other) read = ReadUntagged(line, escaped, byName, e, tag);
        if (read == Read::Entry && IsNetworkOrDevice(e.name)) file.problems.push_back({.line = number, .problem = LineProblem::Refused});
        else if (read == Read::Entry) file.entries.push_back(std::move(e));
        else if (read == Read::Unsupported) file.problems.push_back({.line = number, .problem = LineProblem::Unsupported, .algorithm = tag});
        else file.problems.push_back({.line = number, .problem = LineProblem::NotSums});
    }
    return file;
}

}  // namespace fciv
