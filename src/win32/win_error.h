#pragma once
#include "common/runtime_error.h"
#include "win32/win.h"

namespace win32 {

// The runtime error for a Win32 error code.
common::RuntimeError FromWin32(DWORD code);
// Throws the runtime error for GetLastError().
[[noreturn]] void ThrowLastError();

}  // namespace win32
