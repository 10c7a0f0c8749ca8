// Sums files as md5sum, sha1sum, sha256sum, sha384sum and sha512sum write
// them, in their GNU form ("HASH  NAME", "HASH *NAME") and their BSD form
// ("MD5 (NAME) = HASH"), also inside a PGP clearsigned message; and the
// reports the window saves (a name line, then "MD5:HASH", "SHA1:HASH" and "SHA256:HASH"
// lines, and after them the files it could not read). A sums file is untrusted input: names that would reach the network
// or a device are refused.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/algorithms.h"

namespace common {

struct SumEntry {
    Algorithm algorithm;  // told by the BSD form's name, the file's name or the hash's length
    std::string hex;      // lowercase
    std::string name;     // UTF-8, as written (escapes undone), '/' and '\' as written
    size_t line;          // from 1
    bool guessed = false; // the algorithm told by the hash's length alone
};

enum class LineProblem {
    NotSums,      // none of the forms
    Unsupported,  // a sums line of an algorithm the tool lacks
    Refused,      // a network or device name
    NotRecorded,  // a report's file that could not be read when it was made
    Interrupted,  // a report of an interrupted job: files are missing
};

struct SumsProblem {
    size_t line;
    LineProblem problem;
    std::string algorithm{};  // Unsupported: its name ("SHA224", "BLAKE2b")
    std::string name{};       // the file the line names, when that much could be read; NotRecorded: with its error number
    unsigned long error = 0;
};

struct SumsFile {
    std::vector<SumEntry> entries;
    std::vector<SumsProblem> problems;  // comments, blank lines and a signature's armour are none
};

// The names that tell a sums file's algorithm, in any letter case: "TAGSUMS" (the tool
// also takes "TAGSUMS.x") and "x.TAG".
struct SumsFileTag {
    std::string_view tag, name;
    Algorithm known;  // AlgorithmCount: one the tool lacks
};
inline constexpr std::array<SumsFileTag, 7> SumsFileTags{{{"MD5", "MD5", Md5},
                                                          {"SHA1", "SHA1", Sha1},
                                                          {"SHA224", "SHA224", AlgorithmCount},
                                                          {"SHA256", "SHA256", Sha256},
                                                          {"SHA384", "SHA384", Sha384},
                                                          {"SHA512", "SHA512", Sha512},
                                                          {"B2", "BLAKE2b", AlgorithmCount}}};

// Names of sums files that tell no algorithm.
inline constexpr std::array<std::string_view, 2> UntoldSumsFileNames{"CHECKSUM", "CHECKSUMS"};

// The algorithm a sums file's name tells ("SHA512SUMS", "x.iso.sha256", "B2SUMS"):
// `known` is AlgorithmCount when it names one the tool lacks; `name` is empty
// when it names none.
struct NamedAlgorithm {
    Algorithm known = AlgorithmCount;
    std::string name;
};
NamedAlgorithm AlgorithmOfFileName(std::string_view fileName);

// Whether a file's name alone makes it a sums file the tool can check: "SHA384SUMS", "x.sha256",
// "CHECKSUM", in any letter case.
bool IsSumsFileName(std::string_view fileName);

// The last line of a sums file whose recording was interrupted: files are missing.
inline constexpr std::string_view SumsInterrupted = "INTERRUPTED: not every file is listed";

// No line that names a path is this long (bytes).
inline constexpr size_t LongestSumsLine = 1 << 17;

// Reads a sums file or a report a line at a time: memory follows its entries, not its size.
// `byName`: what the file's name tells, for lines that do not name their algorithm.
class SumsReader {
public:
    explicit SumsReader(const NamedAlgorithm& byName = {}) : byName_(byName) {}
    // The next line, UTF-8, without its line end.
    void Line(std::string_view line);
    // The next line, longer than LongestSumsLine: a bad line, its text not kept.
    void TooLong();
    // The problems met so far, handed over: a long file's reader takes them as it goes, in bounded memory.
    std::vector<SumsProblem> TakeProblems() { return std::exchange(file_.problems, {}); }
    // What the lines held; once, after the last line.
    SumsFile Finish();

private:
    void Problem(LineProblem problem, size_t line, std::string_view name = {});
    void Take(std::string_view line, size_t number);
    void SumsLine(std::string_view line, size_t number);
    void ReportLine(std::string_view line, size_t number);
    void ReportEndLine(std::string_view line, size_t number);
    void NameWithoutHash();

    NamedAlgorithm byName_;
    SumsFile file_;
    size_t number_ = 0;
    enum class Form { Unknown, Sums, Report } form_ = Form::Unknown;
    std::string first_;                             // the first line, until the second tells the form
    bool armourHeader_ = false, signature_ = false;  // sums: in a signed message's armour
    bool ended_ = false;                            // report: past the rule that ends the entries
    size_t ruleLine_ = 0, afterRule_ = 0;            // ...the rule's number, and the lines after it
    size_t unreadTold_ = 0, unreadRead_ = 0;         // ...the unread files its count line tells, and those read
    std::string name_;                              // report: the last name line...
    size_t nameLine_ = 0, unreadLine_ = 0;          // ...its number while no hash line or error line followed it
};

// A whole UTF-8 text, read as SumsReader does.
SumsFile ParseSums(std::string_view text, const NamedAlgorithm& byName = {});

// Lowercase hex of the right length for the algorithm; empty when the text is not.
std::string NormalHex(std::string_view text, Algorithm algorithm);

// Whether a name is a network path (\\host\share, //host) or a device path (\\.\, \\?\).
bool IsNetworkOrDevice(std::string_view name);

}  // namespace common
