#include "ui/event_pump.h"

#include "ui/form_window.h"

namespace ui {

bool WaitHandlingEvents(FormWindow& window, double seconds, HANDLE until) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000.0);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
                return false;
            }
            if (!window.PreTranslate(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline || (until && WaitForSingleObject(until, 0) == WAIT_OBJECT_0)) return IsWindow(window.Hwnd()) != FALSE;
        MsgWaitForMultipleObjectsEx(until ? 1 : 0, until ? &until : nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

}  // namespace ui
