// Files, folders and the program's own location.
#pragma once
#include <string>

namespace platform {

// The folder of the running executable, as the system reports it.
std::wstring ExecutableFolder();

}  // namespace platform
