// A live main window with the blocking services answered by the test.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win32/win.h"

#include <shellapi.h>

#include "common/runtime_error.h"
#include "form_probe.h"

namespace test {

namespace fs = std::filesystem;

struct Shown {
    std::wstring prompt;
    int style;
    std::wstring title;
    bool operator==(const Shown&) const = default;
    friend void PrintTo(const Shown& s, std::ostream* os) { *os << testing::PrintToString(s.prompt + L" | " + s.title) << " " << s.style; }
};

// Records what would be shown, and shows a real modal box in its place (closed at
// once by the fixture), so that the window loses and regains activation as it would.
struct FakeDialogs : ui::Dialogs {
    void Message(const std::wstring& prompt, int style, const std::wstring& title) override {
        shown.push_back({prompt, style, title});
        if (onMessage) onMessage();
        MessageBoxW(owner, prompt.c_str(), title.c_str(), MB_OK);
    }
    std::wstring PickFolder(const std::wstring&) override { return picked; }
    HWND owner = nullptr;
    std::vector<Shown> shown;
    std::function<void()> onMessage;  // runs while the box is open
    std::wstring picked;              // what the folder picker gives; nothing: cancelled
};

// Records the programs the window would start; the tool it really starts.
struct FakeShell : ui::Win32Shell {
    win32::UniqueHandle StartProgram(const std::wstring& commandLine) override {
        started.push_back(commandLine);
        if (failure) throw common::RuntimeError(failure);
        return {};
    }
    std::vector<std::wstring> started;  // programs, by command line
    int failure = 0;                    // the error starting a program raises, when not 0
};

struct FixedClock : ui::Clock {
    logic::DateTime Now() override { return {2027, 1, 9, 9, 5, 3}; }
};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs every pending message through the program's own pre-translation.
    void Pump();
    // Pumps until `done` holds, waiting for messages in between; false when 20 s pass first.
    bool PumpUntil(const std::function<bool()>& done);
    // Presses and releases a key where the focus is, which must be in the window. shift: 1 Shift, 2 Ctrl, 4 Alt.
    void Press(UINT key, int shift = 0);
    // Presses keys one after another, sent at once: a menu's own loop takes those after the one that opens it.
    void PressInTurn(const std::vector<UINT>& keys);
    // Presses Tab until the element has the focus, as a keyboard user gets there.
    void TabTo(int element);
    // A mouse click (twice: a double click) on a list box's item.
    void ClickItem(int element, int item, bool twice = false);
    // A mouse click in the middle of a window, whichever form it belongs to.
    void Click(HWND hwnd);
    // A click (twice: a double click) at a point of the screen.
    void ClickAt(POINT at, int times);
    HWND Item(int element) { return form->Window().Get<ui::Control>(element).Hwnd(); }
    int Focused();  // the element that holds the focus, or -1
    std::vector<std::wstring> Items(int element);  // a list box's texts

    FakeDialogs dialogs;
    FakeShell shell;
    FixedClock clock;
    std::unique_ptr<app::Form1> form;
    bool quit = false;  // Pump met WM_QUIT

private:
    HHOOK boxCloser_ = nullptr, inputCounter_ = nullptr;
};

// A drop of files or folders, as the shell hands it to a window with WM_DROPFILES.
HDROP DropOf(const std::vector<std::wstring>& paths);

// A folder of the test's own under the system's temporary folder, removed afterwards.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& name) : path_(fs::temp_directory_path() / (name + std::to_wstring(GetCurrentProcessId()))) {
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::wstring Path() const { return path_.wstring(); }
    std::wstring Make(const std::wstring& relative) const {
        fs::create_directories(path_ / relative);
        return Path() + L"\\" + relative;
    }
    std::wstring Write(const std::wstring& relative, const std::string& content) const {
        std::ofstream(path_ / relative, std::ios::binary) << content;
        return Path() + L"\\" + relative;
    }

private:
    fs::path path_;
};

}  // namespace test
