#pragma once
#include <string>
#include <string_view>

#include "logic/results/hash_report.h"

namespace results {

// Turns the verdicts the tool wrote for a check (a line each: "RIGHT<tab>name",
// "CHANGED<tab>MD5, SHA1<tab>name", "MISSING<tab>name", "UNREADABLE<tab>N<tab>name", ...)
// into the check report: what is not right first, then what is, then a row of
// asterisks and the summary. When all is right its first line says so.
std::wstring BuildCheckReport(std::wstring_view verdicts, DescribeError describe);

}  // namespace results
