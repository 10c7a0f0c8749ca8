#include "platform/services.h"

#include <shlobj.h>

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

results::DateTime SystemClock::Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace platform
