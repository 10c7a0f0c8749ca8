#pragma once
#include "logic/runtime_error.h"
#include "win32/win.h"

namespace ui {

// The runtime error for a Win32 error code.
logic::RuntimeError FromWin32(DWORD code);
// Throws the runtime error for GetLastError().
[[noreturn]] void ThrowLastError();

}  // namespace ui
