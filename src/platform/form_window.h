// The one top-level window: builds its controls from a table, lays them out at
// the window's DPI, does key preview and dialog-style Tab, forwards events.
#pragma once
#include <bitset>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/control_desc.h"
#include "platform/controls.h"
#include "platform/handle.h"

namespace platform {

class FormWindow {
public:
    FormWindow(FormEvents& events, const wchar_t* title, int clientWidth, int clientHeight,
               std::span<const ControlDesc> descs);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND Hwnd() const { return hwnd_; }
    template <class T>
    T& Get(int index) {
        return static_cast<T&>(*controls_[static_cast<size_t>(index)]);
    }
    // Shows the window centred on its screen with the focus on the first element.
    void Show();
    // Key preview and dialog navigation for a message about to be dispatched;
    // true when it has been handled.
    bool PreTranslate(MSG& msg);
    // When the process (a program the window started) ends and leaves no window
    // active, the window takes the keyboard back.
    void ReactivateAfter(UniqueHandle process);

private:
    // A control's place in the chain of window procedures (GWLP_WNDPROC): comctl32's
    // SetWindowSubclass costs a property lookup per message under Wine.
    struct Subclass {
        FormWindow* form;
        int index;
        WNDPROC next;
    };
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM);
    // Runs a handler so that no exception unwinds into user32; allocates nothing.
    template <class Handler>
    LRESULT Guarded(const Handler& handle) noexcept;
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleControl(const Subclass& sub, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void StopWatching();
    void CreateControls(int dpi);
    void RestoreFocus();
    void Layout(int dpi);
    RECT PixelRect(const ControlDesc& desc, int dpi) const;
    Control* ControlById(WPARAM id);

    FormEvents& events_;
    std::span<const ControlDesc> descs_;
    int clientWidth_, clientHeight_;  // twips
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Subclass>> subclasses_;
    HWND lastFocus_ = nullptr;
    std::bitset<256> keysDown_;  // keys that went down in the window and are not up yet  // the control that had the focus when the window was deactivated
    UniqueFont font_, boldFont_;
    UniqueHandle watched_;   // the process ReactivateAfter waits for
    HANDLE wait_ = nullptr;  // its wait in the thread pool
};

int ShiftState();
// Runs the program's message loop until the window has gone.
int RunMessageLoop(FormWindow& window);

}  // namespace platform
