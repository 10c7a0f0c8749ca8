// The one top-level window: builds its controls from a table, lays them out at
// the window's DPI, does key preview and dialog-style Tab, forwards events.
#pragma once
#include <functional>
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

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    // Runs a handler so that no exception unwinds into user32.
    LRESULT Guarded(const std::function<LRESULT()>& handle);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleControl(int index, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void CreateControls();
    void Layout(int dpi);
    RECT PixelRect(const ControlDesc& desc, int dpi) const;
    Control* ControlById(WPARAM id);

    FormEvents& events_;
    std::span<const ControlDesc> descs_;
    int clientWidth_, clientHeight_;  // twips
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    UniqueFont font_, boldFont_;
    UniqueIcon icon_, smallIcon_;
};

int ShiftState();
// Runs the program's message loop until the window has gone.
int RunMessageLoop(FormWindow& window);

}  // namespace platform
