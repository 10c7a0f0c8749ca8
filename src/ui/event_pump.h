// Waiting while the window stays live: every event is handled as it arrives,
// and between events the thread sleeps until the next one or the deadline.
#pragma once
#include "win32/win.h"

namespace ui {

class FormWindow;

// Handles the window's events for `seconds` (a monotonic clock), or until `until`
// is signalled. False when the program is ending (the window has gone): the caller stops at once.
[[nodiscard]] bool WaitHandlingEvents(FormWindow& window, double seconds, HANDLE until = nullptr);

}  // namespace ui
