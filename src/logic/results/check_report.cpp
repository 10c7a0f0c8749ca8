#include "logic/results/check_report.h"

#include "common/verdicts.h"
#include "logic/texts.h"

namespace results {

std::wstring BuildCheckReport(std::wstring_view verdicts, DescribeError describe) {
    std::wstring wrong, right, interrupted;
    size_t counts[4] = {};  // right, changed, missing, unreadable
    size_t badLines = 0;
    const auto add = [](std::wstring& to, const std::wstring& lines) {
        if (!lines.empty()) to += (to.empty() ? L"" : L"\r\n") + lines;
    };
    // "строка N" and, when the tool could read it, the file's name.
    const auto atLine = [](std::wstring_view line, std::wstring_view name) {
        return texts::CheckLine + std::wstring(line) + (name.empty() ? L"" : L": " + std::wstring(name));
    };
    for (size_t start = 0; start < verdicts.size();) {
        const size_t end = std::min(verdicts.find(L'\n', start), verdicts.size());
        std::wstring_view line = verdicts.substr(start, end - start);
        start = end + 1;
        if (line.ends_with(L'\r')) line.remove_suffix(1);
        if (line.empty()) continue;
        const auto verdict = common::verdicts::Read(line);
        if (!verdict) {
            add(wrong, texts::CheckUnknown + std::wstring(line));  // never taken for nothing
            continue;
        }
        const std::vector<std::wstring_view>& f = verdict->fields;
        const std::wstring last(f.empty() ? L"" : f.back());
        using namespace common::verdicts;
        switch (verdict->kind) {
        case Right: ++counts[0], add(right, texts::CheckRight + last); break;
        case Changed: ++counts[1], add(wrong, texts::CheckChanged + (L"(" + std::wstring(f[0]) + L"): ") + last); break;
        case Missing: ++counts[2], add(wrong, texts::CheckMissing + last); break;
        case Unreadable: ++counts[3], add(wrong, texts::CheckUnreadable + last + L"\r\n" + ErrorLine(f[0], describe)); break;
        case NotRecorded: add(wrong, texts::CheckNotRecorded + last + L"\r\n" + ErrorLine(f[0], describe)); break;
        case Unsupported: add(wrong, texts::CheckUnsupported + (std::wstring(f[0]) + L"): ") + atLine(f[1], f[2])); break;
        case BadLine: ++badLines, add(wrong, texts::CheckBadLine + atLine(f[0], f[1])); break;
        case Untold: add(wrong, texts::CheckUntold + (std::wstring(f[0]) + L"): ") + last); break;
        case Inexact: add(wrong, texts::CheckInexact + last); break;
        case Refused: add(wrong, texts::CheckRefused + atLine(f[0], f[1])); break;
        case BadEntry: add(wrong, texts::CheckBadEntry + (texts::CheckLine + last)); break;
        case Incomplete: add(wrong, texts::CheckIncomplete); break;
        case Error: add(wrong, texts::CheckError + last); break;
        case Interrupted:  // the last says most: a count added once the tool had it
            interrupted = texts::CheckInterrupted + (f.empty() ? L"" : texts::CheckNotChecked + last);
            break;
        }
    }
    std::wstring summary = texts::CheckSummary[0] + std::to_wstring(counts[0]);
    for (int i = 1; i < 4; ++i) summary += texts::CheckSummary[i] + std::to_wstring(counts[i]);
    if (badLines) summary += texts::CheckBadLines + std::to_wstring(badLines);
    if (!interrupted.empty()) summary += L"\r\n" + std::wstring(texts::CheckInterrupted);
    std::wstring report = interrupted;
    if (wrong.empty() && interrupted.empty() && counts[0] > 0) add(report, texts::CheckAllRight + std::to_wstring(counts[0]));
    add(report, wrong);
    add(report, right);
    add(report, texts::UnreadRule);
    add(report, summary);
    return report;
}

}  // namespace results
