#include "gui_fixture.h"

#include <shellapi.h>

namespace test {

void FormTest::SetUp() {
    form = std::make_unique<app::Form1>(dialogs, shell, clock);
    form->Show();
    SetForegroundWindow(form->Window().Hwnd());
    Pump();
}

void FormTest::TearDown() {
    form.reset();
    Pump();
}

void FormTest::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        if (!form || !form->Window().PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void FormTest::Press(UINT key, int shift) {
    BYTE state[256] = {};
    if (shift & 1) state[VK_SHIFT] = 0x80;
    if (shift & 2) state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    const HWND target = GetFocus();
    PostMessageW(target, WM_KEYDOWN, key, 1);
    Pump();
    PostMessageW(GetFocus() ? GetFocus() : target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    Pump();
    BYTE none[256] = {};
    SetKeyboardState(none);
}

std::vector<std::wstring> FormTest::Items(int element) {
    const HWND list = Item(element);
    std::vector<std::wstring> items(static_cast<size_t>(SendMessageW(list, LB_GETCOUNT, 0, 0)));
    for (size_t i = 0; i < items.size(); ++i) {
        items[i].resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)));
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(items[i].data()));
    }
    return items;
}

void FormTest::ClickItem(int element, int item, bool twice) {
    const HWND list = Item(element);
    RECT rc;
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rc));
    const LPARAM at = MAKELPARAM(rc.left + 20, (rc.top + rc.bottom) / 2);
    SetFocus(list);
    for (int i = 0; i < (twice ? 2 : 1); ++i) {
        PostMessageW(list, i ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(list, WM_LBUTTONUP, 0, at);
        Pump();
    }
}

int FormTest::Focused() {
    const HWND focus = GetFocus();
    for (int i = 0; i < app::ElementCount; ++i)
        if (focus && (Item(i) == focus || IsChild(Item(i), focus))) return i;
    return -1;
}

TempFolder::TempFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    std::wstring from = path_ + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

std::wstring TempFolder::Make(const std::wstring& relative) const {
    const std::wstring path = path_ + L"\\" + relative;
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

std::wstring TempFolder::Write(const std::wstring& relative, const std::string& content) const {
    const std::wstring path = path_ + L"\\" + relative;
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
    return path;
}

}  // namespace test
