#include "platform/files.h"

#include "platform/win.h"

namespace platform {

std::wstring ExecutableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L'\\');
    // A root folder keeps its backslash, as the system reports it.
    return path.substr(0, slash == 2 ? 3 : slash);
}

}  // namespace platform
