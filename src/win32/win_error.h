// Win32 error codes as the window's runtime errors, which the file and folder services here
// raise (the hashing tool words the system's codes its own way).
#pragma once
#include "common/runtime_error.h"
#include "win32/win.h"

namespace win32 {

// The runtime error for a Win32 error code.
common::RuntimeError FromWin32(DWORD code);
// Throws the runtime error for GetLastError().
[[noreturn]] void ThrowLastError();

}  // namespace win32
