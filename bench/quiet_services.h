// Stand-ins for the window's blocking services that show and start nothing.
#pragma once
#include <string>

#include "ui/services.h"

namespace bench {
struct SilentDialogs : ui::Dialogs {
    void Message(const std::wstring&, int, const std::wstring&) override {}
    std::wstring PickFolder(const std::wstring&) override { return {}; }
};
struct NoShell : ui::Shell {
    win32::UniqueHandle StartProgram(const std::wstring&) override { return {}; }
    win32::UniqueHandle StartTool(HWND, const std::wstring&, const std::wstring&, const std::wstring&) override { return {}; }
};
}  // namespace bench
