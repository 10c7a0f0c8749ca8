// Names that one holder at a time may use, across every window and program of
// the session: a job's database, say.
#pragma once
#include <string>

#include "win32/handle.h"

namespace win32 {

// Claims a name (a path, in any letter case) for as long as the handle lives;
// an empty handle when another window or program holds it.
UniqueHandle ClaimName(const std::wstring& name);

}  // namespace win32
