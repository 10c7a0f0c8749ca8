#include "platform/form_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/lists.h"
#include "platform/runtime_error.h"
#include "platform/win_error.h"

namespace platform {

namespace {

constexpr wchar_t ClassName[] = L"TallymereForm";
constexpr int FirstId = 100;
constexpr int IconResource = 1;
constexpr UINT ProcessGone = WM_APP + 2;  // ReactivateAfter's process has ended

int Twips(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

int DpiOf(HWND hwnd) {
    const UINT dpi = GetDpiForWindow(hwnd);
    return dpi ? static_cast<int>(dpi) : 96;
}

struct ClassInfo {
    const wchar_t* name;
    DWORD style;
};

ClassInfo ClassFor(ControlKind kind) {
    constexpr DWORD edit = WS_BORDER | ES_AUTOHSCROLL;
    switch (kind) {
    case ControlKind::DriveList:
        return {WC_COMBOBOXW, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL};
    case ControlKind::DirList:
        return {WC_LISTBOXW, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                                 WS_BORDER};
    case ControlKind::FileList: return {WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER};
    case ControlKind::Edit: return {WC_EDITW, edit};
    case ControlKind::ReadOnlyEdit: return {WC_EDITW, edit | ES_READONLY};
    case ControlKind::MultiLineEdit:
        return {WC_EDITW, WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL |
                              WS_HSCROLL};
    case ControlKind::Button: return {WC_BUTTONW, BS_PUSHBUTTON};
    case ControlKind::CheckBox: return {WC_BUTTONW, BS_AUTOCHECKBOX};
    case ControlKind::Frame: return {WC_BUTTONW, BS_GROUPBOX};
    case ControlKind::Label: return {WC_STATICW, SS_LEFTNOWORDWRAP | SS_NOPREFIX};
    case ControlKind::Line: return {WC_STATICW, SS_LEFT};
    }
    return {WC_STATICW, 0};
}

bool TakesFocus(ControlKind kind) {
    return kind != ControlKind::Frame && kind != ControlKind::Label && kind != ControlKind::Line;
}

bool IsOneLineEdit(ControlKind kind) { return kind == ControlKind::Edit || kind == ControlKind::ReadOnlyEdit; }

}  // namespace

int ShiftState() {
    return ((GetKeyState(VK_SHIFT) < 0) ? 1 : 0) | ((GetKeyState(VK_CONTROL) < 0) ? 2 : 0) |
           ((GetKeyState(VK_MENU) < 0) ? 4 : 0);
}

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
    if (!hwnd_) ThrowLastError();
    // Explorer, at the same or a lower integrity level, may drop folders on it.
    DragAcceptFiles(hwnd_, TRUE);
    for (UINT msg : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, UINT{0x0049} /* WM_COPYGLOBALDATA */})
        ChangeWindowMessageFilterEx(hwnd_, msg, MSGFLT_ALLOW, nullptr);
    CreateControls(DpiOf(hwnd_));
    Layout(DpiOf(hwnd_));
}

FormWindow::~FormWindow() {
    StopWatching();
    for (auto& sub : subclasses_) sub->form = nullptr;  // the controls' last messages go straight on
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void FormWindow::ReactivateAfter(UniqueHandle process) {
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
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                               0, hwnd_, nullptr, instance, nullptr);
    for (size_t i = 0; i < descs_.size(); ++i) {
        const ControlDesc& desc = descs_[i];
        const ClassInfo cls = ClassFor(desc.kind);
        const DWORD style = WS_CHILD | WS_VISIBLE | cls.style | (TakesFocus(desc.kind) ? WS_TABSTOP : 0);
        // Created at its place: a drop-down list takes its open height from its first size.
        const RECT rc = PixelRect(desc, dpi);
        const int height = desc.kind == ControlKind::DriveList ? DriveList::OpenHeight(dpi) : rc.bottom - rc.top;
        const HWND hwnd = CreateWindowExW(0, cls.name, desc.kind == ControlKind::Line ? L"" : desc.caption, style, rc.left,
                                          rc.top, rc.right - rc.left, height, hwnd_,
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(FirstId + i)), instance, nullptr);
        const int index = static_cast<int>(i);
        std::unique_ptr<Control> control;
        switch (desc.kind) {
        case ControlKind::DriveList: control = std::make_unique<DriveList>(hwnd, index, events_); break;
        case ControlKind::DirList: control = std::make_unique<DirList>(hwnd, index, events_); break;
        case ControlKind::FileList: control = std::make_unique<FileList>(hwnd, index, events_); break;
        case ControlKind::CheckBox: {
            auto box = std::make_unique<CheckBox>(hwnd, index, events_);
            box->Tag = desc.tag;
            box->SetValue(desc.value);
            control = std::move(box);
            break;
        }
        case ControlKind::Edit:
        case ControlKind::ReadOnlyEdit:
        case ControlKind::MultiLineEdit: control = std::make_unique<TextBox>(hwnd, index, events_); break;
        default: control = std::make_unique<Control>(hwnd, index, events_); break;
        }
        controls_.push_back(std::move(control));
        if (desc.kind == ControlKind::MultiLineEdit) SendMessageW(hwnd, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
        subclasses_.push_back(std::make_unique<Subclass>(Subclass{this, index, nullptr}));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(subclasses_.back().get()));
        subclasses_.back()->next =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
        if (desc.hint) {  // mouse messages reach the tip through ControlProc (TTM_RELAYEVENT)
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND;
            tool.hwnd = hwnd_;
            tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
            tool.lpszText = const_cast<wchar_t*>(desc.hint);
            SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

RECT FormWindow::PixelRect(const ControlDesc& desc, int dpi) const {
    int left = desc.left, top = desc.top, right, bottom;
    if (desc.kind == ControlKind::Line) {
        left = std::min(desc.left, desc.width);
        top = std::min(desc.top, desc.height);
        right = std::max(desc.left, desc.width);
        bottom = std::max(desc.top, desc.height);
    } else {
        right = left + desc.width;
        bottom = top + desc.height;
    }
    int dx = 0, dy = 0;
    for (int c = desc.container; c >= 0; c = descs_[static_cast<size_t>(c)].container) {
        dx += descs_[static_cast<size_t>(c)].left;
        dy += descs_[static_cast<size_t>(c)].top;
    }
    RECT rc{Twips(left + dx, dpi), Twips(top + dy, dpi), Twips(right + dx, dpi), Twips(bottom + dy, dpi)};
    if (desc.kind == ControlKind::Line) {  // one pixel thick
        rc.right = std::max(rc.right, rc.left + MulDiv(1, dpi, 96));
        rc.bottom = std::max(rc.bottom, rc.top + MulDiv(1, dpi, 96));
    }
    return rc;
}

void FormWindow::Layout(int dpi) {
    // Laid out at the monitor's DPI, or at the largest scale that fits its work area: fonts and
    // places shrink together, so every caption stays whole.
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const auto frameAt = [&](int scale) {
        RECT frame{0, 0, Twips(clientWidth_, scale), Twips(clientHeight_, scale)};
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

    const HDC dc = GetDC(hwnd_);
    for (size_t i = 0; i < descs_.size(); ++i) {
        const ControlDesc& desc = descs_[i];
        const HWND hwnd = controls_[i]->Hwnd();
        const HFONT controlFont = desc.font == FontKind::Bold ? boldFont.get() : font.get();
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), TRUE);
        RECT rc = PixelRect(desc, scale);
        if (desc.kind == ControlKind::Label) {  // a label is as large as its text
            const HGDIOBJ old = SelectObject(dc, controlFont);
            RECT text{};
            DrawTextW(dc, desc.caption, -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            SelectObject(dc, old);
            rc.right = rc.left + text.right + MulDiv(6, scale, 96);  // statics draw a little in from their edge, and at scales
            // between the usual DPIs a little wider than measured
            rc.bottom = rc.top + text.bottom;
        }
        controls_[i]->Place(rc, scale);
    }
    ReleaseDC(hwnd_, dc);
    font_ = std::move(font);  // the old fonts go only now that no control holds them
    boldFont_ = std::move(boldFont);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(400, scale, 96));
}

void FormWindow::Show() {
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi);
    const RECT& work = mi.rcWork;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - w) / 2, work.top + (work.bottom - work.top - h) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER);
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
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) keysDown_.set(key);
    if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) {
        // The release of a key pressed elsewhere (the Enter that closed a message box) is no key press here.
        if (!keysDown_.test(key)) return true;
        keysDown_.reset(key);
        Guarded([&] {
            events_.OnKeyUp(FormEvents::FormIndex, static_cast<int>(msg.wParam), ShiftState());
            return 0;
        });
        if (!IsWindow(msg.hwnd)) return true;
    }
    return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

template <class Handler>
LRESULT FormWindow::Guarded(const Handler& handle) noexcept {
    try {
        return handle();
    } catch (const RuntimeError& e) {
        try {
            events_.OnUntrappedError(e.Number(), e.Description());
        } catch (...) {
        }
    } catch (...) {
        // nothing may unwind into user32
    }
    return 0;
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
    return self->Guarded([&] { return self->Handle(msg, wp, lp); });
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
        for (size_t i = 0; i < descs_.size(); ++i)
            if (descs_[i].kind == ControlKind::Line && controls_[i]->Hwnd() == reinterpret_cast<HWND>(lp))
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_APPWORKSPACE));
        break;
    case WM_ACTIVATE:  // as a dialog does: the focused control gets the focus back on return
        if (LOWORD(wp) == WA_INACTIVE && GetFocus() && IsChild(hwnd_, GetFocus())) lastFocus_ = GetFocus();
        break;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_NEXTDLGCTL:  // a multi-line edit asks to pass the focus on (Tab)
        SetFocus(lp ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd_, GetFocus(), wp != 0));
        return 0;
    case WM_DROPFILES: {
        const HDROP drop = reinterpret_cast<HDROP>(wp);
        std::wstring path(DragQueryFileW(drop, 0, nullptr, 0), L'\0');
        DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size() + 1));
        DragFinish(drop);
        if (!path.empty()) events_.OnDrop(path);
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

LRESULT CALLBACK FormWindow::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const auto* sub = reinterpret_cast<const Subclass*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!sub->form) return CallWindowProcW(sub->next, hwnd, msg, wp, lp);
    return sub->form->Guarded([&] { return sub->form->HandleControl(*sub, hwnd, msg, wp, lp); });
}

LRESULT FormWindow::HandleControl(const Subclass& sub, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const int index = sub.index;
    const ControlKind kind = descs_[static_cast<size_t>(index)].kind;
    const bool wantsEnter = IsOneLineEdit(kind) || kind == ControlKind::DirList;
    const auto next = [&] { return CallWindowProcW(sub.next, hwnd, msg, wp, lp); };
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
        MSG relayed{hwnd, msg, wp, lp, 0, {}};
        SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    if (msg >= WM_APP && controls_[static_cast<size_t>(index)]->OnAppMessage(msg, wp, lp)) return 0;
    switch (msg) {
    case WM_GETDLGCODE:  // keep Enter from becoming a default-button command
        if (wantsEnter && lp && reinterpret_cast<MSG*>(lp)->wParam == VK_RETURN) return next() | DLGC_WANTALLKEYS;
        break;
    case WM_CHAR:
        if (wp == L'\r' && IsOneLineEdit(kind)) return 0;  // no beep
        break;
    case WM_KEYDOWN:
        if (controls_[static_cast<size_t>(index)]->OnKeyDown(wp)) return 0;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        const LRESULT r = next();
        events_.OnKeyUp(index, static_cast<int>(wp), ShiftState());
        return r;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const LRESULT r = next();
        const int button = msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4;
        const int dpi = DpiOf(hwnd);
        events_.OnMouseUp(index, button, ShiftState(), static_cast<float>(GET_X_LPARAM(lp)) * 1440.0f / dpi,
                          static_cast<float>(GET_Y_LPARAM(lp)) * 1440.0f / dpi);
        return r;
    }
    }
    return next();
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

}  // namespace platform
