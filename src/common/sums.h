// Sums files as md5sum, sha1sum, sha256sum, sha384sum and sha512sum write
// them, in their GNU form ("HASH  NAME", "HASH *NAME") and their BSD form
// ("MD5 (NAME) = HASH"), also inside a PGP clearsigned message; and the
// reports the window saves (a name line, then "MD5:HASH" and "SHA1:HASH"
// lines, and after them the files it could not read). A sums file is untrusted input: names that would reach the network
// or a device are refused.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "common/algorithms.h"

namespace fciv {

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
    std::string name{};       // NotRecorded: the file's name and its error number
    unsigned long error = 0;
};

struct SumsFile {
    std::vector<SumEntry> entries;
    std::vector<SumsProblem> problems;  // comments, blank lines and a signature's armour are none
};

// The algorithm a sums file's name tells ("SHA512SUMS", "x.iso.sha256", "B2SUMS"):
// `known` is AlgorithmCount when it names one the tool lacks; `name` is empty
// when it names none.
struct NamedAlgorithm {
    Algorithm known = AlgorithmCount;
    std::string name;
};
NamedAlgorithm AlgorithmOfFileName(std::string_view fileName);

// UTF-8 text. `byName`: what the file's name tells, for lines that do not name their algorithm.
SumsFile ParseSums(std::string_view text, const NamedAlgorithm& byName = {});

// Lowercase hex of the right length for the algorithm; empty when the text is not.
std::string NormalHex(std::string_view text, Algorithm algorithm);

// Whether a name is a network path (\\host\share, //host) or a device path (\\.\, \\?\).
bool IsNetworkOrDevice(std::string_view name);

}  // namespace fciv
