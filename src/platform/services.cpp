#include "platform/services.h"

#include <shellapi.h>
#include <shlobj.h>

#include "platform/win_error.h"
#include "texts.h"

namespace platform {

void Win32Dialogs::Message(const std::wstring& prompt, int style, const std::wstring& title) {
    MessageBoxW(owner_, prompt.c_str(), title.empty() ? texts::AppTitle : title.c_str(),
                MB_OK | static_cast<UINT>(style));
}

std::wstring Win32Dialogs::PickFolder(const std::wstring& title) {
    BROWSEINFOW info{};
    info.hwndOwner = owner_;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
    if (!item) return {};
    std::wstring path(32768, L'\0');
    if (!SHGetPathFromIDListEx(item, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT)) path.clear();
    CoTaskMemFree(item);
    path.resize(wcslen(path.c_str()));
    return path;
}

void Win32Shell::StartProgram(const std::wstring& commandLine) {
    std::wstring line = commandLine;  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        ThrowLastError();
    CloseHandle(process.hThread);  // the editor runs on by itself
    CloseHandle(process.hProcess);
}

void Win32Shell::StartTool(HWND owner, const std::wstring& parameters, const std::wstring& folder) {
    // The tool beside the program first, wherever the shell would look for a bare name.
    const std::wstring beside = folder + L"fciv.exe";
    const DWORD attrs = GetFileAttributesW(beside.c_str());
    const bool found = attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
    ShellExecuteW(owner, nullptr, found ? beside.c_str() : L"fciv.exe", parameters.c_str(), folder.c_str(), SW_SHOWNORMAL);
}

platform::DateTime SystemClock::Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace platform
