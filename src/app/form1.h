// The main window: its elements, its state and its event handlers.
// Handlers live with their subsystem: app/, navigation/, job/, results/.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "app/layout.h"
#include "common/runtime_error.h"
#include "logic/job/check_list.h"
#include "logic/results/hash_report.h"
#include "ui/form_window.h"
#include "ui/lists.h"
#include "ui/report_view.h"
#include "ui/services.h"

namespace app {

class Form1 final : public ui::FormEvents {
public:
    Form1(ui::Dialogs& dialogs, ui::Shell& shell, ui::Clock& clock);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    ui::FormWindow& Window() { return window_; }
    void Show() { window_.Show(); }
    // A folder given on the command line (Explorer's "Send To") or dropped, or a file's folder,
    // taken as if typed in the path box and entered; a list of hashes is checked. The first of
    // `count` given is taken, and the window says so.
    void OpenFolder(const std::wstring& path, unsigned count = 1);

    // The folder of the program, with one trailing backslash; set by Form_Load.
    std::wstring AppDir;

    // UTF-8 bytes of the tool's output to text.
    std::wstring UTF8_Decode(std::string_view bytes) const;

private:
    friend class FormProbe;  // tests and benchmarks reach the procedures through it
    // Each event goes to the handler the binding table names for its element.
    void OnEvent(const ui::Event& event) override;
    void OnUntrappedError(const common::RuntimeError& e) override { dialogs_.Error(e); }
    void OnDrop(const std::wstring& path, unsigned count) override { OpenFolder(path, count); }

    void OpenOne(const std::wstring& path);

    // app/
    void Form_Load();
    void Form_KeyUp(int key, int shift);

    // navigation/
    void Drive1_Change();
    void Dir1_Change();
    void Dir1_MouseUp(int button, int shift, float x, float y);
    void Text1_KeyUp(int key, int shift);
    void EnterPath();
    void Command1_Click();
    void Text3_Change();
    std::wstring BrowseForFolder();
    void GoToPath(const std::wstring& path);
    void HandleNavigationError(const common::RuntimeError& e);

    // job/
    void Command2_Click();
    // Checks a list of hashes against the files it names, relative to `folder` or to its own folder.
    void CheckList(const std::wstring& list, job::ListKind kind, const std::wstring& folder = {});
    // A job: the tool run in `workFolder` with the parameters made for its output file
    // (one no other window's job uses), and that file read into the report by `read`.
    // `interrupted`: what the tool ends that file with when stopped, for a tool ended from outside.
    void RunJob(std::wstring (*outputName)(int n), const std::function<std::wstring(const std::wstring& output)>& parameters,
                void (Form1::*read)(const std::wstring& path), const std::wstring& workFolder, const std::string& interrupted);
    void UpdateJobState();

    // results/
    void ReadHashDatabase(const std::wstring& path);
    void ReadVerdicts(const std::wstring& path);
    // The tool's output file read and made into the report by `build`, off the window's thread.
    void ReadToolOutput(const std::wstring& path, const std::function<std::wstring(std::string_view, results::Progress&)>& build);
    // Writes the report to a new file beside the program and opens it in Notepad.
    void SaveReport(const std::wstring& report);

    bool GoToPathBusy = false;
    bool JobDone = false;       // the job's hashing tool is not running any more
    win32::UniqueHandle tool_;  // the job's hashing tool, while it runs
    bool jobRunning_ = false;

    ui::Dialogs& dialogs_;
    ui::Shell& shell_;
    ui::Clock& clock_;
    ui::FormWindow window_;

public:
    // The elements, by their names.
    ui::DriveList& Drive1;
    ui::DirList& Dir1;
    ui::FileList& File1;
    ui::TextBox& Text1;
    ui::Button& Command1;
    ui::TextBox& Text3;
    ui::TextBox& Text4;
    ui::ReportView& Text6;
    ui::CheckBox& Check2;
    ui::CheckBox& Check3;
    ui::CheckBox& Check4;
    ui::Button& Command2;
    ui::CheckBox& Check1(int index) { return *check1_[index]; }

private:
    std::array<ui::CheckBox*, 3> check1_;
};

}  // namespace app
