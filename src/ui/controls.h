// Thin wrappers over the window's child controls. Each kind creates its window
// from its description and takes its messages through the one control procedure.
#pragma once
#include <optional>
#include <string>

#include "ui/control_desc.h"
#include "ui/form_events.h"

namespace ui {

// Control ids: FirstId + the element's index.
inline constexpr int FirstId = 100;

// Counts the key presses, clicks and drops the window has taken: what one of them asks is done once.
unsigned long InputCount();
void CountInput();

// The window's hints: one tooltip window for every element that has one.
class Tooltips {
public:
    explicit Tooltips(HWND owner);
    void Add(HWND element, const wchar_t* text);
    // Passes a mouse message on to the tooltip, which shows the hint on hover.
    void Relay(HWND element, UINT msg, WPARAM wp, LPARAM lp);
    void SetMaxWidth(int pixels);

private:
    HWND owner_, tip_;
};

// Where a control is created: in which window, from which row of the table, at which place.
struct ControlSite {
    HWND parent;
    const ControlDesc& desc;
    int index;
    RECT rect;  // pixels
    int dpi;
    FormEvents& events;
    Tooltips& tips;
};

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND Hwnd() const { return hwnd_; }
    bool Enabled() const;
    void SetEnabled(bool enabled);

    // A WM_COMMAND notification; by default a click or a text change event.
    virtual void OnCommand(WORD code);
    virtual bool OnDrawItem(const DRAWITEMSTRUCT&) { return false; }
    // Puts the control at its rectangle (pixels) for the window's DPI, once its font is set.
    virtual void Place(const RECT& rc, int dpi);
    // The brush of its background (WM_CTLCOLORSTATIC), or null for the usual one.
    virtual HBRUSH Background() const { return nullptr; }

protected:
    // Creates the control's window; `height` replaces the rectangle's height when not 0.
    Control(const ControlSite& site, const wchar_t* windowClass, DWORD style, int height = 0);
    void Raise(Event::Kind kind) { events_.OnEvent({kind, index_}); }
    // Any message, before the others below: its result when handled, else it goes on.
    virtual std::optional<LRESULT> OnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }
    // Messages of the control's own kind; true when handled (the control's window procedure is not called).
    virtual bool OnKeyDown(WPARAM) { return false; }
    virtual bool OnChar(WPARAM) { return false; }
    virtual bool OnAppMessage(UINT, WPARAM, LPARAM) { return false; }
    // Enter is the control's own, not the default button's.
    virtual bool WantsEnter() const { return false; }

    HWND hwnd_;
    int index_;
    FormEvents& events_;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    Tooltips& tips_;
    WNDPROC next_;  // the window class's own procedure (GWLP_WNDPROC: SetWindowSubclass is slow under Wine)
};

// Edit and ReadOnlyEdit: one line.
class TextBox : public Control {
public:
    explicit TextBox(const ControlSite& site);
    std::wstring Text() const;
    void SetText(const std::wstring& text);

private:
    bool OnChar(WPARAM c) override { return c == L'\r'; }  // no beep
    bool WantsEnter() const override { return true; }
};

class Button : public Control {
public:
    explicit Button(const ControlSite& site);
};

class CheckBox : public Control {
public:
    explicit CheckBox(const ControlSite& site);
    int Value() const;
    void SetValue(int value);
    std::wstring Tag;
};

class Frame : public Control {
public:
    explicit Frame(const ControlSite& site);
};

// As large as its text.
class Label : public Control {
public:
    explicit Label(const ControlSite& site);
    void Place(const RECT& rc, int dpi) override;
};

// A line one pixel thick, in the colour of the application's workspace.
class Line : public Control {
public:
    explicit Line(const ControlSite& site);
    void Place(const RECT& rc, int dpi) override;
    HBRUSH Background() const override { return GetSysColorBrush(COLOR_APPWORKSPACE); }
};

std::wstring WindowText(HWND hwnd);

}  // namespace ui
