#include "logic/results/check_report.h"

#include <vector>

#include "logic/texts.h"

namespace results {

namespace {

std::vector<std::wstring_view> Split(std::wstring_view line) {
    std::vector<std::wstring_view> fields;
    for (size_t from = 0;;) {
        const size_t tab = line.find(L'\t', from);
        fields.push_back(line.substr(from, tab - from));
        if (tab == std::wstring_view::npos) return fields;
        from = tab + 1;
    }
}

}  // namespace

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
        const std::vector<std::wstring_view> f = Split(line);
        const std::wstring last(f.back());
        if (f[0] == L"RIGHT" && f.size() == 2) ++counts[0], add(right, texts::CheckRight + last);
        else if (f[0] == L"CHANGED" && f.size() == 3) ++counts[1], add(wrong, texts::CheckChanged + (L"(" + std::wstring(f[1]) + L"): ") + last);
        else if (f[0] == L"MISSING" && f.size() == 2) ++counts[2], add(wrong, texts::CheckMissing + last);
        else if (f[0] == L"UNREADABLE" && f.size() == 3) ++counts[3], add(wrong, texts::CheckUnreadable + last + L"\r\n" + ErrorLine(f[1], describe));
        else if (f[0] == L"NOT_RECORDED" && f.size() == 3) add(wrong, texts::CheckNotRecorded + last + L"\r\n" + ErrorLine(f[1], describe));
        else if (f[0] == L"UNSUPPORTED" && f.size() == 4) add(wrong, texts::CheckUnsupported + (std::wstring(f[1]) + L"): ") + atLine(f[2], f[3]));
        else if (f[0] == L"BAD_LINE" && f.size() == 3) ++badLines, add(wrong, texts::CheckBadLine + atLine(f[1], f[2]));
        else if (f[0] == L"UNTOLD" && f.size() == 3) add(wrong, texts::CheckUntold + (std::wstring(f[1]) + L"): ") + last);
        else if (f[0] == L"INEXACT" && f.size() == 2) add(wrong, texts::CheckInexact + last);
        else if (f[0] == L"REFUSED" && f.size() == 3) add(wrong, texts::CheckRefused + atLine(f[1], f[2]));
        else if (f[0] == L"BAD_ENTRY" && f.size() == 2) add(wrong, texts::CheckBadEntry + (texts::CheckLine + last));
        else if (f[0] == L"INCOMPLETE") add(wrong, texts::CheckIncomplete);
        else if (f[0] == L"ERROR" && f.size() == 2) add(wrong, texts::CheckError + last);
        else if (f[0] == L"INTERRUPTED" && f.size() <= 2)  // the last says most: a count added once the tool had it
            interrupted = texts::CheckInterrupted + (f.size() == 2 ? texts::CheckNotChecked + last : L"");
        else add(wrong, texts::CheckUnknown + std::wstring(line));  // never taken for nothing
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
