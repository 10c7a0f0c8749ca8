#pragma once
#include <atomic>
#include <string>
#include <string_view>

namespace results {

// How far a report is built, and the request to stop building it, across threads.
struct Progress {
    std::atomic<int> percent{0};
    std::atomic<bool> stop{false};
};

// Turns a hash database (UTF-8) into the report: per entry its
// name line, then its "MD5:", "SHA1:" and "SHA256:" lines; the no-data banner when empty.
// Each entry's values are looked for only inside that entry. When the database
// names files or folders that could not be read (<FILE_ERROR> elements), a
// block after the report lists them, each error number worded by `describe`;
// its last line says when the tool was interrupted (<INTERRUPTED>).
// `progress`, when given, is kept up to date; stopped, the report is empty.
using DescribeError = std::wstring (*)(unsigned long code);
std::wstring BuildHashReport(std::string_view database, DescribeError describe, Progress* progress = nullptr);

// "Ошибка N: reason", the number worded by `describe` when it is one.
std::wstring ErrorLine(std::wstring_view number, DescribeError describe);

// Resolves the predefined XML entities and numeric character references;
// anything else that looks like a reference stays as written.
std::wstring ResolveReferences(std::wstring_view value);

}  // namespace results
