#include "ui/controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace ui {

int ShiftState() {
    return ((GetKeyState(VK_SHIFT) < 0) ? 1 : 0) | ((GetKeyState(VK_CONTROL) < 0) ? 2 : 0) |
           ((GetKeyState(VK_MENU) < 0) ? 4 : 0);
}

namespace {
unsigned long inputs = 0;
}  // namespace

unsigned long InputCount() { return inputs; }

void CountInput() { ++inputs; }

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)), L'\0');
    if (!text.empty()) text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()) + 1)));
    return text;
}

// ---- Tooltips ----

Tooltips::Tooltips(HWND owner)
    : owner_(owner),
      tip_(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, owner,
                           nullptr, GetModuleHandleW(nullptr), nullptr)) {}

void Tooltips::Add(HWND element, const wchar_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = owner_;
    tool.uId = reinterpret_cast<UINT_PTR>(element);
    tool.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::Relay(HWND element, UINT msg, WPARAM wp, LPARAM lp) {
    MSG relayed{element, msg, wp, lp, 0, {}};
    SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void Tooltips::SetMaxWidth(int pixels) { SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, pixels); }

// ---- Control ----

Control::Control(const ControlSite& site, const wchar_t* windowClass, DWORD style, int height)
    : index_(site.index), events_(site.events), tips_(site.tips) {
    const RECT& rc = site.rect;
    const bool line = site.desc.kind == ControlKind::Line;
    hwnd_ = CreateWindowExW(0, windowClass, line ? L"" : site.desc.caption, WS_CHILD | WS_VISIBLE | style, rc.left, rc.top,
                            rc.right - rc.left, height ? height : rc.bottom - rc.top, site.parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(site.index + FirstId)), GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) throw common::RuntimeError(common::err::DeviceIo);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    next_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    if (site.desc.hint) tips_.Add(hwnd_, site.desc.hint);  // shown on hover: Handle relays the mouse
}

Control::~Control() {
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next_));
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

bool Control::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

void Control::SetEnabled(bool enabled) {
    // As in a dialog: the focus moves on before the control that holds it is disabled.
    const HWND focus = GetFocus();
    if (!enabled && focus && (focus == hwnd_ || IsChild(hwnd_, focus))) SendMessageW(GetParent(hwnd_), WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(hwnd_, enabled);
}

void Control::Place(const RECT& rc, int) { MoveWindow(hwnd_, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE); }

void Control::OnCommand(WORD code) {
    if (code == BN_CLICKED) Raise(Event::Click);
    else if (code == EN_CHANGE) Raise(Event::Change);
}

LRESULT CALLBACK Control::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return Guarded(self->events_, [&] { return self->Handle(msg, wp, lp); });
}

LRESULT Control::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    const auto next = [&] { return CallWindowProcW(next_, hwnd_, msg, wp, lp); };
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) tips_.Relay(hwnd_, msg, wp, lp);
    if (const auto handled = OnMessage(msg, wp, lp)) return *handled;
    if (msg >= WM_APP && OnAppMessage(msg, wp, lp)) return 0;
    switch (msg) {
    case WM_GETDLGCODE:  // keep Enter from becoming a default-button command
        if (WantsEnter() && lp && reinterpret_cast<MSG*>(lp)->wParam == VK_RETURN) return next() | DLGC_WANTALLKEYS;
        break;
    case WM_CHAR:
        if (OnChar(wp)) return 0;
        break;
    case WM_KEYDOWN:
        if (OnKeyDown(wp)) return 0;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        const LRESULT r = next();
        events_.OnEvent({Event::KeyUp, index_, static_cast<int>(wp), ShiftState()});
        return r;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const LRESULT r = next();
        const int button = msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4;
        const float twipsPerPixel = 1440.0f / static_cast<float>(GetDpiForWindow(hwnd_) ? GetDpiForWindow(hwnd_) : 96);
        events_.OnEvent({Event::MouseUp, index_, 0, ShiftState(), button, static_cast<float>(GET_X_LPARAM(lp)) * twipsPerPixel,
                         static_cast<float>(GET_Y_LPARAM(lp)) * twipsPerPixel});
        return r;
    }
    }
    return next();
}

// ---- the simple kinds ----

TextBox::TextBox(const ControlSite& site)
    : Control(site, WC_EDITW, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | (site.desc.kind == ControlKind::ReadOnlyEdit ? ES_READONLY : 0)) {}

std::wstring TextBox::Text() const { return WindowText(hwnd_); }

void TextBox::SetText(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

Button::Button(const ControlSite& site) : Control(site, WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON) {}

CheckBox::CheckBox(const ControlSite& site) : Control(site, WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX), Tag(site.desc.tag) {
    SetValue(site.desc.value);
}

int CheckBox::Value() const { return static_cast<int>(SendMessageW(hwnd_, BM_GETCHECK, 0, 0)); }

void CheckBox::SetValue(int value) { SendMessageW(hwnd_, BM_SETCHECK, static_cast<WPARAM>(value), 0); }

Frame::Frame(const ControlSite& site) : Control(site, WC_BUTTONW, BS_GROUPBOX) {}

Label::Label(const ControlSite& site) : Control(site, WC_STATICW, SS_LEFTNOWORDWRAP | SS_NOPREFIX) {}

void Label::Place(const RECT& rc, int dpi) {
    const HDC dc = GetDC(hwnd_);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    RECT text{};
    DrawTextW(dc, WindowText(hwnd_).c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    // Statics draw a little in from their edge, and at scales between the usual DPIs a little wider than measured.
    Control::Place({rc.left, rc.top, rc.left + text.right + MulDiv(6, dpi, 96), rc.top + text.bottom}, dpi);
}

Line::Line(const ControlSite& site) : Control(site, WC_STATICW, SS_LEFT) {}

void Line::Place(const RECT& rc, int dpi) {
    const int pixel = MulDiv(1, dpi, 96);
    Control::Place({rc.left, rc.top, std::max(rc.right, rc.left + pixel), std::max(rc.bottom, rc.top + pixel)}, dpi);
}

}  // namespace ui
