// A stand-in for the hashing tool: given "-xml PATH" it waits TALLYMERE_STANDIN_MS
// milliseconds (default 3000), then writes to PATH a one-entry database, or a copy of
// the database TALLYMERE_STANDIN_DB names.
#include <windows.h>

#include <cstdlib>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3 || std::wstring(argv[argc - 2]) != L"-xml") return 2;
    const char* ms = std::getenv("TALLYMERE_STANDIN_MS");
    Sleep(ms ? static_cast<DWORD>(std::atoi(ms)) : 3000);
    if (const wchar_t* given = _wgetenv(L"TALLYMERE_STANDIN_DB")) return CopyFileW(given, argv[argc - 1], FALSE) ? 0 : 4;
    const char db[] = "<FCIV><FILE_ENTRY><name>stand-in</name><MD5>0</MD5></FILE_ENTRY></FCIV>";
    const HANDLE h = CreateFileW(argv[argc - 1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(h, db, sizeof db - 1, &written, nullptr);
    CloseHandle(h);
    return 0;
}
