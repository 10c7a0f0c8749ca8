// Thin wrappers over the window's child controls.
#pragma once
#include <string>

#include "platform/form_events.h"
#include "platform/win.h"

namespace platform {

class Control {
public:
    Control(HWND hwnd, int index, FormEvents& events) : hwnd_(hwnd), index_(index), events_(events) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND Hwnd() const { return hwnd_; }
    bool Enabled() const;
    void SetEnabled(bool enabled);

    // Notifications the window forwards; by default a click or a text change event.
    virtual void OnCommand(WORD code);
    virtual bool OnDrawItem(const DRAWITEMSTRUCT&) { return false; }
    virtual bool OnKeyDown(WPARAM) { return false; }
    // A message of the control's own (WM_APP and above); true when handled.
    virtual bool OnAppMessage(UINT, WPARAM, LPARAM) { return false; }
    // Puts the control at its rectangle (pixels) for the window's DPI.
    virtual void Place(const RECT& rc, int dpi);

protected:
    HWND hwnd_;
    int index_;
    FormEvents& events_;
};

class TextBox : public Control {
public:
    using Control::Control;
    std::wstring Text() const;
    void SetText(const std::wstring& text);
};

class CheckBox : public Control {
public:
    using Control::Control;
    int Value() const;
    void SetValue(int value);
    std::wstring Tag;
};

using Button = Control;

std::wstring WindowText(HWND hwnd);

}  // namespace platform
