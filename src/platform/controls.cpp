#include "platform/controls.h"

namespace platform {

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)), L'\0');
    if (!text.empty()) text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()) + 1)));
    return text;
}

bool Control::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

void Control::SetEnabled(bool enabled) {
    // As in a dialog: the focus moves on before the control that holds it is disabled.
    const HWND focus = GetFocus();
    if (!enabled && focus && (focus == hwnd_ || IsChild(hwnd_, focus))) SendMessageW(GetParent(hwnd_), WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(hwnd_, enabled);
}

void Control::Place(const RECT& rc, int) {
    MoveWindow(hwnd_, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

void Control::OnCommand(WORD code) {
    if (code == BN_CLICKED) events_.OnClick(index_);
    else if (code == EN_CHANGE) events_.OnChange(index_);
}

std::wstring TextBox::Text() const { return WindowText(hwnd_); }

void TextBox::SetText(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

int CheckBox::Value() const { return static_cast<int>(SendMessageW(hwnd_, BM_GETCHECK, 0, 0)); }

void CheckBox::SetValue(int value) { SendMessageW(hwnd_, BM_SETCHECK, static_cast<WPARAM>(value), 0); }

}  // namespace platform
