#include "logic/results/report_name.h"

namespace results {

namespace {
std::wstring TwoDigits(int v) {
    std::wstring s = std::to_wstring(v);
    return s.size() < 2 ? L"0" + s : s;
}
}  // namespace

std::wstring ReportBaseName(const DateTime& now) {
    std::wstring year = std::to_wstring(now.year);
    year.insert(0, year.size() < 4 ? 4 - year.size() : 0, L'0');
    return L"hash_" + TwoDigits(now.month) + L"-" + TwoDigits(now.day) + L"-" + year + L"_" +
           std::to_wstring(now.hour) + std::to_wstring(now.minute) + std::to_wstring(now.second);
}

std::wstring ReportFileName(const std::wstring& base, int attempt) {
    return attempt <= 1 ? base + L".txt" : base + L" (" + std::to_wstring(attempt) + L").txt";
}

}  // namespace results
