// Stand-ins for the window's blocking services that show and start nothing.
#pragma once
#include <string>

#include "platform/services.h"

namespace bench {
struct SilentDialogs : platform::Dialogs {
    void Message(const std::wstring&, int, const std::wstring&) override {}
    std::wstring PickFolder(const std::wstring&) override { return {}; }
};
struct NoShell : platform::Shell {
    platform::UniqueHandle StartProgram(const std::wstring&) override { return {}; }
    platform::UniqueHandle StartTool(HWND, const std::wstring&, const std::wstring&) override { return {}; }
};
}  // namespace bench
