#pragma once
#include "platform/runtime_error.h"
#include "platform/win.h"

namespace platform {

// The runtime error for a Win32 error code.
RuntimeError FromWin32(DWORD code);
// Throws the runtime error for GetLastError().
[[noreturn]] void ThrowLastError();

}  // namespace platform
