// Sums files as md5sum, sha1sum, sha256sum and sha512sum write them, in their
// GNU form ("HASH  NAME", "HASH *NAME") and their BSD form ("MD5 (NAME) = HASH").
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "algorithms.h"

namespace fciv {

struct SumEntry {
    Algorithm algorithm;  // told by the hash's length, or by the BSD form's name
    std::string hex;      // lowercase
    std::string name;     // UTF-8, as written (GNU escapes undone)
    size_t line;          // from 1
};

struct SumsFile {
    std::vector<SumEntry> entries;
    std::vector<size_t> badLines;  // lines that are none of the forms; comments and blank lines are not
};

SumsFile ParseSums(std::string_view text);

// The algorithm a hash of this many hex digits belongs to; AlgorithmCount when none.
Algorithm AlgorithmOfDigits(size_t digits);

// Lowercase hex of the right length for the algorithm; empty when the text is not.
std::string NormalHex(std::string_view text, Algorithm algorithm);

}  // namespace fciv
