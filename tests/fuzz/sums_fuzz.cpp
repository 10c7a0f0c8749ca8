// The sums-file reader on arbitrary bytes: no crash, no undefined behaviour, and
// every line either read or counted as bad.
#include <cstdint>
#include <string_view>

#include "sums.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fciv::SumsFile sums = fciv::ParseSums(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& e : sums.entries)
        if (e.algorithm >= fciv::AlgorithmCount || e.hex.size() != fciv::HexDigits[e.algorithm] || e.name.empty() || e.line == 0)
            __builtin_trap();
    if (sums.entries.size() + sums.badLines.size() > size) __builtin_trap();
    return 0;
}
