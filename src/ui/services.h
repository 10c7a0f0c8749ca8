// Services the window calls that block or reach outside; tests substitute them.
#pragma once
#include <string>

#include "common/runtime_error.h"
#include "logic/date_time.h"
#include "win32/handle.h"
#include "win32/win.h"

namespace ui {

// Message box styles, as the window uses them.
namespace style {
inline constexpr int OkOnly = 0;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
}  // namespace style

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal message box; an empty title shows the application's.
    virtual void Message(const std::wstring& prompt, int style, const std::wstring& title) = 0;
    // The folder picker: the chosen folder's path, or empty when cancelled.
    virtual std::wstring PickFolder(const std::wstring& title) = 0;
    // A runtime error's box: its number, then its description.
    void Error(const common::RuntimeError& e) { Message(std::to_wstring(e.Number()) + L"\r" + e.Description(), style::OkOnly, L""); }
};

class Win32Dialogs : public Dialogs {
public:
    explicit Win32Dialogs(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    void Message(const std::wstring& prompt, int style, const std::wstring& title) override;
    std::wstring PickFolder(const std::wstring& title) override;

private:
    HWND owner_;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Starts a program from a command line in a normal, activated window, without
    // waiting; returns its process.
    virtual win32::UniqueHandle StartProgram(const std::wstring& commandLine) = 0;
    // Starts the hashing tool "fciv.exe" (the one in `folder`, else one on the
    // system's PATH) with its parameters in `workFolder`; returns its process.
    // Throws the runtime error of why it could not be started (53: no such program).
    virtual win32::UniqueHandle StartTool(HWND owner, const std::wstring& parameters, const std::wstring& folder,
                                          const std::wstring& workFolder) = 0;
};

class Win32Shell : public Shell {
public:
    win32::UniqueHandle StartProgram(const std::wstring& commandLine) override;
    win32::UniqueHandle StartTool(HWND owner, const std::wstring& parameters, const std::wstring& folder,
                                  const std::wstring& workFolder) override;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual logic::DateTime Now() = 0;
};

class SystemClock : public Clock {
public:
    logic::DateTime Now() override;
};

}  // namespace ui
