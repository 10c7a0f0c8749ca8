// Test helper: holds a file open until its standard input closes: with no
// sharing at all, or with "write" as a program writing a log holds it.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const bool writer = argc > 2 && lstrcmpW(argv[2], L"write") == 0;
    const HANDLE h = CreateFileW(argv[1], writer ? GENERIC_WRITE : GENERIC_READ, writer ? FILE_SHARE_READ : 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 1;
    std::puts("locked");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    CloseHandle(h);
    return 0;
}
