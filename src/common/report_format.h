// The lines of the window's saved report that name no hashed file: written by
// the window after its entries, read back by the tool's check.
#pragma once

namespace common::report {

inline constexpr wchar_t Rule[] = L"***************";  // ends the entries
inline constexpr wchar_t UnreadCount[] = L"Не прочитано файлов: ";
inline constexpr wchar_t UnreadError[] = L"Ошибка ";  // the line after each unread name
inline constexpr wchar_t Interrupted[] = L"Формирование прервано: в отчёте не все файлы";

}  // namespace common::report
