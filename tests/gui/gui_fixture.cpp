#include "gui_fixture.h"

#include <shlobj.h>

namespace test {

namespace {

// Each test process gets a desktop of its own: the keyboard focus belongs to the
// foreground window of a desktop, and tests run side by side.
void UseOwnDesktop() {
    static const bool done = [] {
        const std::wstring name = L"tallymere-test-" + std::to_wstring(GetCurrentProcessId());
        const HDESK desk = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
        return desk && SetThreadDesktop(desk);
    }();
    ASSERT_TRUE(done) << "no desktop of its own";
}

// Answers every modal box with OK as soon as it is activated.
LRESULT CALLBACK CloseBoxes(int code, WPARAM wp, LPARAM lp) {
    wchar_t cls[16] = L"";
    if (code == HCBT_ACTIVATE && GetClassNameW(reinterpret_cast<HWND>(wp), cls, 16) && std::wstring(cls) == L"#32770")
        PostMessageW(reinterpret_cast<HWND>(wp), WM_COMMAND, IDOK, 0);
    return CallNextHookEx(nullptr, code, wp, lp);
}

// Input the thread has taken from its queue, whichever loop took it: a key or button sent
// is waited for until it has arrived, however slowly the machine delivers it.
int keysReleased = 0, buttonsReleased = 0;
LRESULT CALLBACK CountInput(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == PM_REMOVE) {
        const UINT msg = reinterpret_cast<const MSG*>(lp)->message;
        keysReleased += msg == WM_KEYUP || msg == WM_SYSKEYUP;
        buttonsReleased += msg == WM_LBUTTONUP;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

INPUT Key(WORD vk, bool up) { return {.type = INPUT_KEYBOARD, .ki = {vk, 0, static_cast<DWORD>(up ? KEYEVENTF_KEYUP : 0), 0, 0}}; }

INPUT Button(DWORD flags) { return {.type = INPUT_MOUSE, .mi = {0, 0, 0, flags, 0, 0}}; }

void Send(std::vector<INPUT> input) { SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT)); }

POINT Middle(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

}  // namespace

void FormTest::SetUp() {
    UseOwnDesktop();
    boxCloser_ = SetWindowsHookExW(WH_CBT, CloseBoxes, nullptr, GetCurrentThreadId());
    inputCounter_ = SetWindowsHookExW(WH_GETMESSAGE, CountInput, nullptr, GetCurrentThreadId());
    form = std::make_unique<app::Form1>(dialogs, shell, clock);
    dialogs.owner = form->Window().Hwnd();
    form->Show();
    SetForegroundWindow(form->Window().Hwnd());
    Pump();
}

void FormTest::TearDown() {
    form.reset();
    Pump();
    UnhookWindowsHookEx(boxCloser_);
    UnhookWindowsHookEx(inputCounter_);
}

void FormTest::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
        } else if (!form || !form->Window().PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

bool FormTest::PumpUntil(const std::function<bool()>& done) {
    for (const ULONGLONG end = GetTickCount64() + 20000; !done(); Pump()) {
        if (GetTickCount64() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return true;
}

void FormTest::Press(UINT key, int shift) {
    ASSERT_GE(Focused(), 0) << "a key pressed with no element of the window focused";
    const WORD modifier = shift & 1 ? VK_SHIFT : shift & 2 ? VK_CONTROL : shift & 4 ? VK_MENU : 0;
    std::vector<INPUT> input{Key(static_cast<WORD>(key), false), Key(static_cast<WORD>(key), true)};
    if (modifier) input = {Key(modifier, false), input[0], input[1], Key(modifier, true)};
    const int released = keysReleased + (modifier ? 2 : 1);
    Send(input);
    PumpUntil([&] { return keysReleased >= released || !IsWindow(form->Window().Hwnd()); });
}

void FormTest::PressInTurn(const std::vector<UINT>& keys) {
    std::vector<INPUT> input;
    for (const UINT key : keys) input.insert(input.end(), {Key(static_cast<WORD>(key), false), Key(static_cast<WORD>(key), true)});
    const int released = keysReleased + static_cast<int>(keys.size());
    Send(input);
    PumpUntil([&] { return keysReleased >= released; });
}

void FormTest::TabTo(int element) {
    for (int i = 0; i < app::ElementCount && Focused() != element; ++i) Press(VK_TAB);
    EXPECT_EQ(Focused(), element) << "Tab never reached " << element;
}

void FormTest::ClickItem(int element, int item, bool twice) {
    RECT rc;
    SendMessageW(Item(element), LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rc));
    POINT at{rc.left + 20, (rc.top + rc.bottom) / 2};
    ClientToScreen(Item(element), &at);
    ClickAt(at, twice ? 2 : 1);
    Pump();
}

void FormTest::Click(HWND hwnd) { ClickAt(Middle(hwnd), 1); }

void FormTest::ClickAt(POINT at, int times) {
    SetCursorPos(at.x, at.y);
    const int released = buttonsReleased + times;
    for (int i = 0; i < times; ++i) Send({Button(MOUSEEVENTF_LEFTDOWN), Button(MOUSEEVENTF_LEFTUP)});
    PumpUntil([&] { return buttonsReleased >= released; });
}

int FormTest::Focused() {
    const HWND focus = GetFocus();
    for (int i = 0; i < app::ElementCount; ++i)
        if (focus && (Item(i) == focus || IsChild(Item(i), focus))) return i;
    return -1;
}

std::vector<std::wstring> FormTest::Items(int element) {
    std::vector<std::wstring> items(static_cast<size_t>(SendMessageW(Item(element), LB_GETCOUNT, 0, 0)));
    for (size_t i = 0; i < items.size(); ++i) {
        items[i].resize(static_cast<size_t>(SendMessageW(Item(element), LB_GETTEXTLEN, i, 0)));
        SendMessageW(Item(element), LB_GETTEXT, i, reinterpret_cast<LPARAM>(items[i].data()));
    }
    return items;
}

HDROP DropOf(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const auto& p : paths) list += p + L'\0';
    list += L'\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(drop + 1));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

}  // namespace test
