#pragma once
#include <string>

#include "logic/date_time.h"

namespace results {

using logic::DateTime;

// "hash_MM-DD-YYYY_HMS": hour, minute and second without leading zeros.
std::wstring ReportBaseName(const DateTime& now);

// The report file's name: the base name, " (n)" from the second try on, ".txt".
std::wstring ReportFileName(const std::wstring& base, int attempt);

}  // namespace results
