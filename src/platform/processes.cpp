#include "platform/processes.h"

#include <tlhelp32.h>

namespace platform {

ProcessSnapshot::ProcessSnapshot() : snapshot_(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)) {}

bool ProcessSnapshot::Next(std::wstring& imageName) {
    if (!snapshot_) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    const BOOL ok = first_ ? Process32FirstW(snapshot_.get(), &entry) : Process32NextW(snapshot_.get(), &entry);
    first_ = false;
    if (!ok) return false;
    imageName = entry.szExeFile;
    return true;
}

}  // namespace platform
