#include "win32/claims.h"

#include <cstdint>

namespace win32 {

UniqueHandle ClaimName(const std::wstring& name) {
    std::wstring upper = name;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    uint64_t hash = 14695981039346656037ull;  // FNV-1a: a mutex name is short and has no backslash
    for (wchar_t c : upper) hash = (hash ^ static_cast<uint16_t>(c)) * 1099511628211ull;
    wchar_t mutex[48];
    swprintf(mutex, 48, L"Local\\Tallymere-%016llx", static_cast<unsigned long long>(hash));
    UniqueHandle claim(CreateMutexW(nullptr, FALSE, mutex));
    if (claim && GetLastError() == ERROR_ALREADY_EXISTS) claim.reset();
    return claim;
}

}  // namespace win32
