// Decoder, database scan and check verdicts on arbitrary bytes: no crash, no
// undefined behaviour; text with no element is the no-data banner, and a check
// report always ends in its summary.
#include <cstdint>
#include <string_view>

#include "common/utf8.h"
#include "logic/results/check_report.h"
#include "logic/results/hash_report.h"
#include "logic/texts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = common::Utf8Decode(bytes);
    if (text.size() > size) __builtin_trap();  // never more units than bytes
    for (wchar_t c : text)
        if (static_cast<unsigned long>(c) > 0xFFFF) __builtin_trap();
    const auto describe = [](unsigned long) { return std::wstring(L"?"); };
    if (text.find(L'<') == std::wstring::npos && results::BuildHashReport(bytes, describe) != texts::NoDataBanner) __builtin_trap();
    const std::wstring check = results::BuildCheckReport(text, describe);
    if (check.find(std::wstring(texts::UnreadRule) + L"\r\n" + texts::CheckSummary[0]) == std::wstring::npos) __builtin_trap();
    return 0;
}
