// The parameter string and path trimming on arbitrary input.
// The parameter string must split back, by the Windows argument rules, into
// the very folder, mask and database path it was built from.
#include <cstdint>
#include <string>
#include <vector>

#include "job/parameters.h"
#include "navigation/trim_path.h"

namespace {

// Splits a command line the way the C runtime does for a program's arguments.
std::vector<std::wstring> SplitArguments(const std::wstring& line) {
    std::vector<std::wstring> args;
    size_t i = 0;
    const size_t n = line.size();
    for (;;) {
        while (i < n && (line[i] == L' ' || line[i] == L'\t')) ++i;
        if (i >= n) return args;
        std::wstring arg;
        bool quoted = false;
        while (i < n && (quoted || (line[i] != L' ' && line[i] != L'\t'))) {
            size_t slashes = 0;
            while (i < n && line[i] == L'\\') ++slashes, ++i;
            if (i < n && line[i] == L'"') {
                arg.append(slashes / 2, L'\\');
                if (slashes % 2) {
                    arg.push_back(L'"');
                } else if (quoted && i + 1 < n && line[i + 1] == L'"') {
                    arg.push_back(L'"');
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                arg.append(slashes, L'\\');
                if (i < n && (quoted || (line[i] != L' ' && line[i] != L'\t'))) arg.push_back(line[i++]);
            }
        }
        args.push_back(arg);
    }
}

// Input: flags byte, then folder, pattern and program folder separated by NUL bytes.
std::vector<std::wstring> Fields(const uint8_t* data, size_t size) {
    std::vector<std::wstring> fields(1);
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0 && fields.size() < 3) fields.emplace_back();
        else fields.back().push_back(static_cast<wchar_t>(data[i] < 0x80 ? data[i] : 0x400 + data[i]));
    }
    fields.resize(3);
    return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t flags = data[0];
    const auto f = Fields(data, size);
    const std::wstring &folder = f[0], &pattern = f[1], &appDir = f[2];

    const std::wstring line =
        job::ParameterString(folder, job::SwitchText(flags & 1, flags & 2), job::MaskText(pattern),
                             job::HashTypeText(flags & 4, L"-md5", flags & 8, L"-sha1"), appDir);
    const auto args = SplitArguments(line);
    const std::wstring trimmed = navigation::TrimToLastFolder(folder);
    if (folder.compare(0, trimmed.size(), trimmed) != 0) __builtin_trap();
    if (trimmed != folder && trimmed.back() != L'\\') __builtin_trap();
    if (folder.empty() || appDir.empty()) return 0;
    if (args.front() != folder || args.back() != appDir + L"dbsha.xml") __builtin_trap();
    if (!pattern.empty() && pattern != L"*.*") {
        size_t t = 1;
        while (t < args.size() && args[t] != L"-type") ++t;
        if (t + 1 >= args.size() || args[t + 1] != pattern) __builtin_trap();
    }
    return 0;
}
