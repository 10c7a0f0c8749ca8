// A stand-in for the hashing tool and for other processes in tests.
// With "-xml PATH" it waits TALLYMERE_STANDIN_MS milliseconds (default 3000),
// then writes a one-entry database to PATH; otherwise it waits until ended.
#include <windows.h>

#include <cstdlib>
#include <string>

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::wstring(argv[i]) != L"-xml") continue;
        const char* ms = std::getenv("TALLYMERE_STANDIN_MS");
        Sleep(ms ? static_cast<DWORD>(std::atoi(ms)) : 3000);
        const char db[] = "<FCIV><FILE_ENTRY><name>stand-in</name><MD5>0</MD5></FILE_ENTRY></FCIV>";
        const HANDLE h = CreateFileW(argv[i + 1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        WriteFile(h, db, sizeof db - 1, &written, nullptr);
        CloseHandle(h);
        return 0;
    }
    Sleep(INFINITE);
    return 0;
}
