#include "common/sums.h"
#include "common/report_format.h"
#include "common/text.h"
#include "common/utf8.h"

#include <algorithm>
#include <cstdlib>

namespace common {

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

// "x/y.sha256" gives "Y.SHA256".
std::string UpperFileName(std::string_view path) { return AsciiUpper(path.substr(path.find_last_of("\\/") + 1)); }

}  // namespace

NamedAlgorithm AlgorithmOfFileName(std::string_view fileName) {
    const std::string name = UpperFileName(fileName);
    for (const SumsFileTag& t : SumsFileTags) {
        const std::string sums = std::string(t.tag) + "SUMS";
        if (name == sums || name.starts_with(sums + ".") || name.ends_with('.' + std::string(t.tag))) return {t.known, std::string(t.name)};
    }
    return {};
}

bool IsSumsFileName(std::string_view fileName) {
    const std::string name = UpperFileName(fileName);
    return std::find(UntoldSumsFileNames.begin(), UntoldSumsFileNames.end(), name) != UntoldSumsFileNames.end() ||
           std::any_of(SumsFileTags.begin(), SumsFileTags.end(), [&](const SumsFileTag& t) {
               return t.known != AlgorithmCount && (name == std::string(t.tag) + "SUMS" || name.ends_with('.' + std::string(t.tag)));
           });
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
    const auto slash = [&](size_t i) { return name.size() > i && (name[i] == '\\' || name[i] == '/'); };
    // \\host, //host, \\?\, \\.\, and the object namespace's own \??\ (\??\UNC\host reaches the network)
    return (slash(0) && slash(1)) || (slash(0) && name.substr(1, 2) == "??" && slash(3));
}

namespace {

// The algorithm of a report's hash line; AlgorithmCount when the line is none.
Algorithm ReportHashOf(std::string_view line) {
    for (int a = 0; a < RecordedCount; ++a)
        if (line.starts_with(report::HashLabels[a])) return Algorithm(a);
    return AlgorithmCount;
}
bool IsReportHash(std::string_view line) { return ReportHashOf(line) != AlgorithmCount; }

}  // namespace

void SumsReader::Line(std::string_view line) {
    if (++number_ == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    if (form_ == Form::Unknown && number_ == 1) {
        first_ = line;
        return;
    }
    if (form_ == Form::Unknown) {  // a report's first line is a name, its second a hash line
        form_ = !first_.empty() && !IsReportHash(first_) && IsReportHash(line) ? Form::Report : Form::Sums;
        Take(first_, 1);
    }
    Take(line, number_);
}

void SumsReader::TooLong() {
    Line({});  // a line that holds nothing: no name, no entry
    Problem(LineProblem::NotSums, number_);
}

SumsFile SumsReader::Finish() {
    if (form_ == Form::Unknown && number_ == 1) {
        form_ = Form::Sums;
        Take(first_, 1);
    }
    if (form_ == Form::Report) {
        NameWithoutHash();  // a report cut after a name
        if (unreadLine_) Problem(LineProblem::NotSums, unreadLine_, name_);
        // Cut inside what follows the rule (nothing after it, fewer unread files than told): not all is there.
        if (ended_ && (afterRule_ == 0 || unreadRead_ < unreadTold_)) Problem(LineProblem::Interrupted, ruleLine_);
    }
    return std::move(file_);
}

void SumsReader::Problem(LineProblem problem, size_t line, std::string_view name) {
    file_.problems.push_back({.line = line, .problem = problem, .name = std::string(name)});
}

void SumsReader::Take(std::string_view line, size_t number) {
    if (form_ == Form::Report && ended_) ReportEndLine(line, number);
    else if (form_ == Form::Report) ReportLine(line, number);
    else SumsLine(line, number);
}

void SumsReader::SumsLine(std::string_view line, size_t number) {
    if (signature_) {
        signature_ = line != "-----END PGP SIGNATURE-----";
        return;
    }
    if (armourHeader_) {
        armourHeader_ = !line.empty();
        return;
    }
    armourHeader_ = line == "-----BEGIN PGP SIGNED MESSAGE-----";
    signature_ = line == "-----BEGIN PGP SIGNATURE-----";
    if (armourHeader_ || signature_) return;
    if (line.starts_with("- ")) line.remove_prefix(2);  // dash-escaped in a signed message
    line = TrimStart(line, std::string_view(" \t"));
    if (line.empty() || line.starts_with('#')) return;
    if (line == SumsInterrupted) return Problem(LineProblem::Interrupted, number);
    const bool escaped = line.starts_with('\\');
    if (escaped) line.remove_prefix(1);
    SumEntry e{};
    e.line = number;
    std::string tag;
    Read read = ReadTagged(line, escaped, e, tag);
    if (read == Read::Other) read = ReadUntagged(line, escaped, byName_, e, tag);
    if (read == Read::Entry && IsNetworkOrDevice(e.name)) Problem(LineProblem::Refused, number, e.name);
    else if (read == Read::Entry) file_.entries.push_back(std::move(e));
    else if (read == Read::Unsupported) file_.problems.push_back({.line = number, .problem = LineProblem::Unsupported, .algorithm = tag, .name = e.name});
    else Problem(LineProblem::NotSums, number, e.name);
}

// A name line, or one of its hash lines; the rule ends the entries.
void SumsReader::ReportLine(std::string_view line, size_t number) {
    static const std::string rule = ToUtf8(report::Rule);
    if (!IsReportHash(line)) {
        NameWithoutHash();
        if (line == rule) ended_ = true, ruleLine_ = number;
        else name_ = line, nameLine_ = number;
        return;
    }
    nameLine_ = 0;
    SumEntry e{ReportHashOf(line), {}, name_, number};
    e.hex = NormalHex(line.substr(line.find(':') + 1), e.algorithm);
    if (e.hex.empty() || name_.empty()) Problem(LineProblem::NotSums, number, name_);
    else if (IsNetworkOrDevice(e.name)) Problem(LineProblem::Refused, number, name_);
    else file_.entries.push_back(std::move(e));
}

// After the rule: the count of unread files, each one's name and error line, and last
// the line of an interrupted job. Anything else is a bad line.
void SumsReader::ReportEndLine(std::string_view line, size_t number) {
    static const std::string count = ToUtf8(report::UnreadCount), error = ToUtf8(report::UnreadError),
                             interrupted = ToUtf8(report::Interrupted);
    afterRule_ += !line.empty();
    if (line.starts_with(count)) unreadTold_ = std::strtoul(std::string(line.substr(count.size(), 12)).c_str(), nullptr, 10);
    if (unreadLine_ && line.starts_with(error)) {
        ++unreadRead_;
        const std::string code(line.substr(error.size(), 10));  // a DWORD's ten digits
        file_.problems.push_back({.line = unreadLine_, .problem = LineProblem::NotRecorded, .name = std::move(name_),
                                  .error = std::strtoul(code.c_str(), nullptr, 10)});
        unreadLine_ = 0;
        return;
    }
    if (unreadLine_) Problem(LineProblem::NotSums, unreadLine_, name_);
    unreadLine_ = 0;
    if (line == interrupted) {
        Problem(LineProblem::Interrupted, number);
    } else if (!line.empty() && !line.starts_with(count)) {
        name_ = line;
        unreadLine_ = number;
    }
}

void SumsReader::NameWithoutHash() {
    if (nameLine_ && !name_.empty()) Problem(LineProblem::NotSums, nameLine_, name_);
    nameLine_ = 0;
}

SumsFile ParseSums(std::string_view text, const NamedAlgorithm& byName) {
    SumsReader reader(byName);
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        reader.Line(line);
        start = end + 1;
    }
    return reader.Finish();
}

}  // namespace common
