#pragma once
#include <cstdint>
#include <string>

namespace job {

// 1 when a running process's image name contains `name`, in any letter case; else 0.
uint8_t IsProcessRunning(const std::wstring& name);

}  // namespace job
