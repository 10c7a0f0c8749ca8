// Reads the running program's window from outside, as accessibility tools do, in UTF-8:
// "text|enabled|count|rect|selected ID", "focus" of an element, "box" (whether an open box holds the window
// as a modal one does, its title and its text), "tree" (the folders an open picker lists), "close".
#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

namespace {

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[1 << 16];
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 1 << 16, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, &got))
        return L"";
    return std::wstring(buffer, got);
}

void Put(const std::wstring& text) {
    std::string utf8(text.size() * 4 + 1, '\0');
    utf8.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                        utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // the texts' own line ends, unchanged
    const HWND form = FindWindowW(L"TallymereForm", nullptr);
    if (!form || argc < 2) return 1;
    const std::wstring what = argv[1];
    if (what == L"close") return PostMessageW(form, WM_CLOSE, 0, 0) ? 0 : 1;
    if (what == L"box") {  // the journeys' desktop holds only this program's windows
        const HWND box = FindWindowW(L"#32770", nullptr);
        const bool modal = GetWindow(box, GW_OWNER) == form && !IsWindowEnabled(form);
        if (box && IsWindowVisible(box)) Put((modal ? L"modal\n" : L"not modal\n") + TextOf(box) + L"\n" + TextOf(GetDlgItem(box, 0xFFFF)));
        return 0;
    }
    if (what == L"tree") {
        const HWND tree = FindWindowExW(FindWindowW(L"#32770", nullptr), nullptr, WC_TREEVIEWW, nullptr);
        Put(std::to_wstring(tree ? SendMessageW(tree, TVM_GETCOUNT, 0, 0) : 0));
        return 0;
    }
    if (what == L"focus") {  // the element that has the keyboard, and whether the window is the active one
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info);
        Put(std::to_wstring(GetDlgCtrlID(info.hwndFocus)) + (GetForegroundWindow() == form ? L" active" : L" inactive"));
        return 0;
    }
    if (argc < 3) return 1;
    const HWND item = GetDlgItem(form, _wtoi(argv[2]));
    if (what == L"text") Put(TextOf(item));
    else if (what == L"enabled") Put(IsWindowEnabled(item) ? L"1" : L"0");
    else if (what == L"count") Put(std::to_wstring(SendMessageW(item, LB_GETCOUNT, 0, 0)));
    else if (what == L"selected") {
        wchar_t text[1024] = L"";
        SendMessageW(item, LB_GETTEXT, SendMessageW(item, LB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
        Put(text);
    } else if (what == L"rect") {
        RECT rc;
        GetWindowRect(item, &rc);
        Put(std::to_wstring(rc.left) + L" " + std::to_wstring(rc.top) + L" " + std::to_wstring(rc.right) + L" " +
            std::to_wstring(rc.bottom));
    }
    return 0;
}
