#include "ui/services.h"

#include <shellapi.h>
#include <shlobj.h>

#include "logic/texts.h"
#include "win32/win_error.h"

namespace ui {

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

win32::UniqueHandle Win32Shell::StartProgram(const std::wstring& commandLine) {
    std::wstring line = commandLine;  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        win32::ThrowLastError();
    CloseHandle(process.hThread);  // the editor runs on by itself
    return win32::UniqueHandle(process.hProcess);
}

win32::UniqueHandle Win32Shell::StartTool(HWND owner, const std::wstring& parameters, const std::wstring& folder,
                                          const std::wstring& workFolder) {
    // The tool beside the program, else one on the system's PATH; never one in the current folder.
    std::wstring tool = folder + L"fciv.exe";
    const DWORD attrs = GetFileAttributesW(tool.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        std::wstring path(GetEnvironmentVariableW(L"PATH", nullptr, 0), L'\0');
        path.resize(GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
        tool.assign(MAX_PATH, L'\0');
        const DWORD n = path.empty() ? 0 : SearchPathW(path.c_str(), L"fciv.exe", nullptr, MAX_PATH, tool.data(), nullptr);
        if (n == 0 || n >= MAX_PATH) throw common::RuntimeError(common::err::FileNotFound);
        tool.resize(n);
    }
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = owner;
    info.lpFile = tool.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = workFolder.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) win32::ThrowLastError();
    return win32::UniqueHandle(info.hProcess);
}

logic::DateTime SystemClock::Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace ui
