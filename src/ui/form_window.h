// The one top-level window: creates its controls from a table, lays them out at
// the window's DPI, does key preview and dialog-style Tab, forwards events.
#pragma once
#include <bitset>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "win32/handle.h"

namespace ui {

class FormWindow {
public:
    FormWindow(FormEvents& events, const wchar_t* title, int clientWidth, int clientHeight,
               std::span<const ControlDesc> descs);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND Hwnd() const { return hwnd_; }
    // The element at `index` of the table, which must be of kind T.
    template <class T>
    T& Get(int index) {
        T* control = dynamic_cast<T*>(controls_.at(static_cast<size_t>(index)).get());
        if (!control) throw std::logic_error("the element is of another kind");
        return *control;
    }
    // Shows the window centred on its screen with the focus on the first element.
    void Show();
    // Key preview and dialog navigation for a message about to be dispatched;
    // true when it has been handled.
    bool PreTranslate(MSG& msg);
    // When the process (a program the window started) ends and leaves no window
    // active, the window takes the keyboard back.
    void ReactivateAfter(win32::UniqueHandle process);

private:
    bool WindowAt(POINT at) const;  // another window of the program has its corner there
    struct FontTraits {
        using Type = HFONT;
        static Type Invalid() { return nullptr; }
        static void Close(Type h) { DeleteObject(h); }
    };
    using UniqueFont = win32::Unique<FontTraits>;

    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    void StopWatching();
    void CreateControls(int dpi);
    RECT PixelRect(const ControlDesc& desc, int dpi) const;
    void Layout(int dpi);
    void RestoreFocus();
    Control* ControlById(WPARAM id);

    FormEvents& events_;
    std::span<const ControlDesc> descs_;
    int clientWidth_, clientHeight_;  // twips
    HWND hwnd_ = nullptr;
    std::optional<Tooltips> tips_;
    std::vector<std::unique_ptr<Control>> controls_;
    HWND lastFocus_ = nullptr;   // the control that had the focus when the window was deactivated
    std::bitset<256> keysDown_;  // keys that went down in the window and are not up yet
    UniqueFont font_, boldFont_;
    win32::UniqueHandle watched_;  // the process ReactivateAfter waits for
    HANDLE wait_ = nullptr;        // its wait in the thread pool
};

// Runs the program's message loop until the window has gone.
int RunMessageLoop(FormWindow& window);

}  // namespace ui
