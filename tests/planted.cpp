// A stranger's file planted beside the programs. Loaded (as a DLL) or run (as
// a program), it leaves "planted-NAME.marker" beside itself.
#include <windows.h>

#include <string>

namespace {

void Mark(HMODULE module) {
    wchar_t path[MAX_PATH];
    std::wstring marker(path, GetModuleFileNameW(module, path, MAX_PATH));
    marker.insert(marker.find_last_of(L'\\') + 1, L"planted-");
    CloseHandle(CreateFileW((marker + L".marker").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

}  // namespace

#ifdef PLANTED_DLL
BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) Mark(module);
    return TRUE;
}
#else
int wmain() {
    Mark(nullptr);
    return 0;
}
#endif
