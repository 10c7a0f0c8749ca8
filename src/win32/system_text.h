// Texts as the system makes them, shared by the window and the hashing tool.
#pragma once
#include <string>

namespace win32 {

// Whether two UTF-16 code units are equal ignoring case, by the system's
// ordinal upper-casing (what NTFS and FindFirstFile use for names).
bool SameCharIgnoringCase(wchar_t a, wchar_t b);

// The system's description of a Win32 error code in the user's language, on
// one line; "" when the system has none.
std::wstring SystemMessage(unsigned long code);

}  // namespace win32
