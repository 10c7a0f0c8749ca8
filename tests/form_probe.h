// The window's own procedures and quiet stand-ins for its services, for the
// tests and the benchmarks.
#pragma once
#include <string>

#include "app/form1.h"

namespace app {
class FormProbe {
public:
    static void ReadHashDatabase(Form1& f, const std::wstring& path) { f.ReadHashDatabase(path); }
    static void SaveReport(Form1& f) { f.SaveReport(); }
    static void GoToPath(Form1& f, const std::wstring& path) { f.GoToPath(path); }
};
}  // namespace app

namespace test {
struct SilentDialogs : platform::Dialogs {
    void Message(const std::wstring&, int, const std::wstring&) override {}
    std::wstring PickFolder(const std::wstring&) override { return {}; }
};
struct NoShell : platform::Shell {
    void StartProgram(const std::wstring&) override {}
    void StartTool(HWND, const std::wstring&, const std::wstring&) override {}
};
}  // namespace test
