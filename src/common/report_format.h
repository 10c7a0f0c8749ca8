// The lines of the window's saved report: written by the window, read back by the tool's check.
#pragma once
#include <array>
#include <string_view>

#include "common/algorithms.h"

namespace common::report {

// What begins the lines of an entry's hashes, after its name line, indexed as Algorithm.
inline constexpr std::array<std::string_view, RecordedCount> HashLabels{"MD5:", "SHA1:", "SHA256:"};
inline constexpr wchar_t Rule[] = L"***************";  // ends the entries
inline constexpr wchar_t UnreadCount[] = L"Не прочитано файлов: ";
inline constexpr wchar_t UnreadError[] = L"Ошибка ";  // the line after each unread name
inline constexpr wchar_t Interrupted[] = L"Формирование прервано: в отчёте не все файлы";

}  // namespace common::report
