// The sums-file reader on arbitrary bytes: no crash, no undefined behaviour,
// every line read or counted once, and no network or device name let through.
#include <cstdint>
#include <string_view>

#include "common/sums.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const char* file : {"SUMS", "SHA1SUMS", "B2SUMS"}) {
        const common::SumsFile sums = common::ParseSums(text, common::AlgorithmOfFileName(file));
        for (const auto& e : sums.entries)
            if (e.algorithm >= common::AlgorithmCount || e.hex.size() != common::HexDigits[e.algorithm] || e.name.empty() ||
                e.line == 0 || common::IsNetworkOrDevice(e.name))
                __builtin_trap();
        if (sums.entries.size() + sums.problems.size() > size) __builtin_trap();
    }
    return 0;
}
