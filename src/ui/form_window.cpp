#include "ui/form_window.h"

#include <shellapi.h>

#include "ui/lists.h"
#include "ui/report_view.h"
#include "win32/win_error.h"

namespace ui {

namespace {

constexpr wchar_t ClassName[] = L"TallymereForm";
constexpr int IconResource = 1;
constexpr UINT ProcessGone = WM_APP + 2;  // ReactivateAfter's process has ended

int PixelsFromTwips(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

int DpiOf(HWND hwnd) {
    const UINT dpi = GetDpiForWindow(hwnd);
    return dpi ? static_cast<int>(dpi) : 96;
}

using Make = std::unique_ptr<Control> (*)(const ControlSite&);
template <class T>
std::unique_ptr<Control> MakeControl(const ControlSite& site) {
    return std::make_unique<T>(site);
}
// By ControlKind: each kind creates itself from its description.
constexpr Make Makers[] = {MakeControl<DriveList>, MakeControl<DirList>, MakeControl<FileList>, MakeControl<TextBox>,
                           MakeControl<TextBox>,   MakeControl<ReportView>, MakeControl<Button>,   MakeControl<CheckBox>,
                           MakeControl<Frame>,     MakeControl<Label>,   MakeControl<Line>};
static_assert(std::size(Makers) == static_cast<size_t>(ControlKind::Line) + 1);

}  // namespace

FormWindow::FormWindow(FormEvents& events, const wchar_t* title, int clientWidth, int clientHeight,
                       std::span<const ControlDesc> descs)
    : events_(events), descs_(descs), clientWidth_(clientWidth), clientHeight_(clientHeight) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    // Shared icons live as long as the process: the class outlives every window of it.
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IconResource), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IconResource), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = ClassName;
    RegisterClassExW(&wc);  // fails harmlessly when a second window registers it again

    hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, ClassName, title, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                            CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance, this);
    if (!hwnd_) win32::ThrowLastError();
    // Explorer, at the same or a lower integrity level, may drop folders on it.
    DragAcceptFiles(hwnd_, TRUE);
    for (UINT msg : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, UINT{0x0049} /* WM_COPYGLOBALDATA */})
        ChangeWindowMessageFilterEx(hwnd_, msg, MSGFLT_ALLOW, nullptr);
    CreateControls(DpiOf(hwnd_));
    Layout(DpiOf(hwnd_));
}

FormWindow::~FormWindow() {
    StopWatching();
    controls_.clear();  // their windows' last messages go straight to their classes
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void FormWindow::ReactivateAfter(win32::UniqueHandle process) {
    StopWatching();
    if (!process) return;
    watched_ = std::move(process);
    const auto gone = [](PVOID hwnd, BOOLEAN) { PostMessageW(static_cast<HWND>(hwnd), ProcessGone, 0, 0); };
    if (!RegisterWaitForSingleObject(&wait_, watched_.get(), gone, hwnd_, INFINITE, WT_EXECUTEONLYONCE)) wait_ = nullptr;
}

void FormWindow::StopWatching() {
    if (wait_) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
    wait_ = nullptr;
    watched_.reset();
}

void FormWindow::CreateControls(int dpi) {
    tips_.emplace(hwnd_);
    for (size_t i = 0; i < descs_.size(); ++i) {
        // Created at its place: a drop-down list takes its open height from its first size.
        const ControlSite site{hwnd_, descs_[i], static_cast<int>(i), PixelRect(descs_[i], dpi), dpi, events_, *tips_};
        controls_.push_back(Makers[static_cast<size_t>(descs_[i].kind)](site));
    }
}

RECT FormWindow::PixelRect(const ControlDesc& desc, int dpi) const {
    const ControlDesc::Box box = desc.Rect();
    int dx = 0, dy = 0;
    for (int c = desc.container; c >= 0; c = descs_[static_cast<size_t>(c)].container) {
        dx += descs_[static_cast<size_t>(c)].left;
        dy += descs_[static_cast<size_t>(c)].top;
    }
    return {PixelsFromTwips(box.left + dx, dpi), PixelsFromTwips(box.top + dy, dpi), PixelsFromTwips(box.right + dx, dpi),
            PixelsFromTwips(box.bottom + dy, dpi)};
}

void FormWindow::Layout(int dpi) {
    // Laid out at the monitor's DPI, or at the largest scale that fits its work area: fonts and
    // places shrink together, so every caption stays whole.
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const auto frameAt = [&](int scale) {
        RECT frame{0, 0, PixelsFromTwips(clientWidth_, scale), PixelsFromTwips(clientHeight_, scale)};
        AdjustWindowRectExForDpi(&frame, style, FALSE, WS_EX_CONTROLPARENT, static_cast<UINT>(dpi));
        return frame;
    };
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &mi);
    const LONG workWidth = mi.rcWork.right - mi.rcWork.left, workHeight = mi.rcWork.bottom - mi.rcWork.top;
    int scale = dpi;
    RECT frame = frameAt(scale);
    while (scale > 48 && (frame.right - frame.left > workWidth || frame.bottom - frame.top > workHeight)) frame = frameAt(--scale);
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    LOGFONTW lf{};
    // The dialog font at 7.5 pt: at 8 pt Tahoma's labels outgrow their places.
    lf.lfHeight = -MulDiv(75, scale, 720);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcscpy_s(lf.lfFaceName, L"MS Shell Dlg");
    UniqueFont font(CreateFontIndirectW(&lf));
    lf.lfHeight = -MulDiv(825, scale, 7200);
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = RUSSIAN_CHARSET;
    wcscpy_s(lf.lfFaceName, L"MS Sans Serif");
    UniqueFont boldFont(CreateFontIndirectW(&lf));

    for (size_t i = 0; i < descs_.size(); ++i) {
        SendMessageW(controls_[i]->Hwnd(), WM_SETFONT,
                     reinterpret_cast<WPARAM>(descs_[i].font == FontKind::Bold ? boldFont.get() : font.get()), TRUE);
        controls_[i]->Place(PixelRect(descs_[i], scale), scale);
    }
    font_ = std::move(font);  // the old fonts go only now that no control holds them
    boldFont_ = std::move(boldFont);
    tips_->SetMaxWidth(MulDiv(400, scale, 96));
}

bool FormWindow::WindowAt(POINT at) const {
    for (HWND other = nullptr; (other = FindWindowExW(nullptr, other, ClassName, nullptr)) != nullptr;) {
        RECT rc;
        if (other != hwnd_ && IsWindowVisible(other) && GetWindowRect(other, &rc) && rc.left == at.x && rc.top == at.y) return true;
    }
    return false;
}

void FormWindow::Show() {
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi);
    const RECT& work = mi.rcWork;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    POINT at{work.left + (work.right - work.left - w) / 2, work.top + (work.bottom - work.top - h) / 2};
    // Where another window of the program already stands, the next one cascades, as Windows does.
    const int step = GetSystemMetricsForDpi(SM_CYCAPTION, GetDpiForWindow(hwnd_)) + GetSystemMetricsForDpi(SM_CYFRAME, GetDpiForWindow(hwnd_));
    for (int i = 0; i < 32 && WindowAt(at); ++i) {
        at = {at.x + step, at.y + step};
        if (at.x + w > work.right || at.y + h > work.bottom) at = {work.left, work.top};
    }
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    SetFocus(GetNextDlgTabItem(hwnd_, nullptr, FALSE));
}

bool FormWindow::PreTranslate(MSG& msg) {
    if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    const size_t key = msg.wParam & 0xFF;
    if (msg.message == WM_SYSKEYDOWN && key == VK_F4 && GetKeyState(VK_MENU) < 0) {  // from every element, the drive list too
        PostMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        if (!keysDown_.test(key)) CountInput();  // a key held down repeats: one input
        keysDown_.set(key);
    }
    if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN ||
        msg.message == WM_LBUTTONDBLCLK)
        CountInput();
    if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) {
        // The release of a key pressed elsewhere (the Enter that closed a message box) is no key press here.
        if (!keysDown_.test(key)) return true;
        keysDown_.reset(key);
        Guarded(events_, [&] {
            events_.OnEvent({Event::KeyUp, FormEvents::FormIndex, static_cast<int>(msg.wParam), ShiftState()});
            return LRESULT{0};
        });
        if (!IsWindow(msg.hwnd)) return true;
    }
    return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

Control* FormWindow::ControlById(WPARAM id) {
    const size_t i = static_cast<size_t>(LOWORD(id)) - FirstId;
    return i < controls_.size() ? controls_[i].get() : nullptr;
}

LRESULT CALLBACK FormWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return Guarded(self->events_, [&] { return self->Handle(msg, wp, lp); });
}

LRESULT FormWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (Control* c = lp ? ControlById(wp) : nullptr) c->OnCommand(HIWORD(wp));
        return 0;
    case WM_DRAWITEM:
        if (Control* c = ControlById(wp)) return c->OnDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        return FALSE;
    case WM_CTLCOLORSTATIC:
        if (Control* c = ControlById(static_cast<WPARAM>(GetDlgCtrlID(reinterpret_cast<HWND>(lp)))); c && c->Background())
            return reinterpret_cast<LRESULT>(c->Background());
        break;
    case WM_ACTIVATE:  // as a dialog does: the focused control gets the focus back on return
        if (LOWORD(wp) == WA_INACTIVE && GetFocus() && IsChild(hwnd_, GetFocus())) lastFocus_ = GetFocus();
        break;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_NEXTDLGCTL:  // a control asks to pass the focus on
        SetFocus(lp ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd_, GetFocus(), wp != 0));
        return 0;
    case WM_DROPFILES: {
        const HDROP drop = reinterpret_cast<HDROP>(wp);
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        std::wstring path(DragQueryFileW(drop, 0, nullptr, 0), L'\0');
        DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size() + 1));
        DragFinish(drop);
        CountInput();
        if (!path.empty()) events_.OnDrop(path, count);
        return 0;
    }
    case WM_DPICHANGED: {
        Layout(HIWORD(wp));
        const RECT* suggested = reinterpret_cast<RECT*>(lp);
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return 0;
    }
    case ProcessGone:
        StopWatching();
        if (!GetForegroundWindow()) SetForegroundWindow(hwnd_);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void FormWindow::RestoreFocus() {
    if (!lastFocus_ || !IsWindow(lastFocus_) || !IsWindowEnabled(lastFocus_) || !IsWindowVisible(lastFocus_))
        lastFocus_ = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    SetFocus(lastFocus_);
}

int RunMessageLoop(FormWindow& window) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!window.PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace ui
