// Where the window's events go, and the guard that keeps exceptions out of user32.
#pragma once
#include <string>

#include "common/runtime_error.h"
#include "win32/win.h"

namespace ui {

struct Event {
    enum Kind { Click, Change, KeyUp, MouseUp } kind;
    int element;                 // its index in the layout table; FormIndex for the window itself
    int key = 0, shift = 0;      // KeyUp: the key; KeyUp, MouseUp: Shift 1, Ctrl 2, Alt 4
    int button = 0;              // MouseUp: left 1, right 2, middle 4
    float x = 0, y = 0;          // MouseUp: twips from the element's corner
};

class FormEvents {
public:
    static constexpr int FormIndex = -1;
    virtual void OnEvent(const Event& event) = 0;
    // Files or folders dragged from the shell onto the window: the first of them.
    virtual void OnDrop(const std::wstring& path, unsigned count) = 0;  // the first of `count` dropped
    // A runtime error that no handler trapped reached the message loop.
    virtual void OnUntrappedError(const common::RuntimeError& e) = 0;

protected:
    ~FormEvents() = default;
};

// Runs a window procedure's handler so that no exception unwinds into user32; allocates nothing.
template <class Handler>
LRESULT Guarded(FormEvents& events, const Handler& handle) noexcept {
    try {
        return handle();
    } catch (const common::RuntimeError& e) {
        try {
            events.OnUntrappedError(e);
        } catch (...) {
        }
    } catch (...) {
    }
    return 0;
}

// Shift 1, Ctrl 2, Alt 4: the keys held now.
int ShiftState();

}  // namespace ui
