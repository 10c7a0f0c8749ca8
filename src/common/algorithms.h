// The hash algorithms the tool knows, as the database and sums files name them.
#pragma once
#include <array>
#include <string>
#include <string_view>

namespace common {

enum Algorithm { Md5, Sha1, Sha256, Sha384, Sha512, AlgorithmCount };

inline constexpr std::array<std::string_view, AlgorithmCount> AlgorithmNames{"MD5", "SHA1", "SHA256", "SHA384", "SHA512"};
inline constexpr std::array<size_t, AlgorithmCount> HexDigits{32, 40, 64, 96, 128};

using Algorithms = std::array<bool, AlgorithmCount>;         // which ones to compute
using HexHashes = std::array<std::string, AlgorithmCount>;  // lowercase hex; empty when not computed

// The ones a database and the window's report record: MD5, SHA-1 and SHA-256, in that order.
inline constexpr int RecordedCount = Sha256 + 1;

}  // namespace common
