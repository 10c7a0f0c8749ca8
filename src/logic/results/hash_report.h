#pragma once
#include <string>
#include <string_view>

namespace results {

// Turns the decoded text of a hash database into the report: per entry its
// name line, then "MD5:" and "SHA1:" lines; the no-data banner when empty.
// Each entry's values are looked for only inside that entry. When the database
// names files or folders that could not be read (<FILE_ERROR> elements), a
// block after the report lists them, each error number worded by `describe`;
// its last line says when the tool was interrupted (<INTERRUPTED>).
using DescribeError = std::wstring (*)(unsigned long code);
std::wstring BuildHashReport(std::wstring_view text, DescribeError describe);

// "Ошибка N: reason", the number worded by `describe` when it is one.
std::wstring ErrorLine(std::wstring_view number, DescribeError describe);

// Resolves the predefined XML entities and numeric character references;
// anything else that looks like a reference stays as written.
std::wstring ResolveReferences(std::wstring_view value);

}  // namespace results
