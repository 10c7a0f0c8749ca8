// The main window: its elements, its state and its event handlers.
// Handlers live with their subsystem: app/, navigation/, job/, results/.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "app/layout.h"
#include "job/check_list.h"
#include "results/hash_report.h"
#include "platform/form_window.h"
#include "platform/lists.h"
#include "platform/runtime_error.h"
#include "platform/services.h"

namespace app {

class Form1 final : public platform::FormEvents {
public:
    Form1(platform::Dialogs& dialogs, platform::Shell& shell, platform::Clock& clock);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    platform::FormWindow& Window() { return window_; }
    void Show() { window_.Show(); }
    // A folder given on the command line (Explorer's "Send To"), or a file's folder,
    // taken as if typed in the path box and entered.
    void OpenFolder(const std::wstring& path);

    // The folder of the program, with one trailing backslash; set by Form_Load.
    std::wstring AppDir;

    // UTF-8 bytes of the hash database to text.
    std::wstring UTF8_Decode(std::string_view bytes) const;

private:
    friend class FormProbe;  // tests and benchmarks reach the procedures through it
    void OnClick(int element) override;
    void OnChange(int element) override;
    void OnKeyUp(int element, int key, int shift) override;
    void OnMouseUp(int element, int button, int shift, float x, float y) override;
    void OnUntrappedError(int number, const std::wstring& description) override;
    void OnDrop(const std::wstring& path) override { OpenFolder(path); }

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
    void HandleNavigationError(const platform::RuntimeError& e);

    // job/
    void Command2_Click();
    // Checks a list of hashes against the files of its folder.
    void CheckList(const std::wstring& list, job::ListKind kind);
    // A job: the tool run with the parameters made for its output file (one no other
    // window's job uses), and that file read into the report by `read`.
    void RunJob(std::wstring (*outputName)(int n), const std::function<std::wstring(const std::wstring& output)>& parameters,
                void (Form1::*read)(const std::wstring& path));
    void UpdateJobState();

    // results/
    void ReadHashDatabase(const std::wstring& path);
    void ReadVerdicts(const std::wstring& path);
    void ReadToolOutput(const std::wstring& path, std::wstring (*build)(std::wstring_view, results::DescribeError));
    void SaveReport();

    bool GoToPathBusy = false;
    bool JobDone = false;       // the job's hashing tool is not running any more
    platform::UniqueHandle tool_;  // the job's hashing tool, while it runs
    bool jobRunning_ = false;

    platform::Dialogs& dialogs_;
    platform::Shell& shell_;
    platform::Clock& clock_;
    platform::FormWindow window_;

public:
    // The elements, by their names.
    platform::DriveList& Drive1;
    platform::DirList& Dir1;
    platform::FileList& File1;
    platform::TextBox& Text1;
    platform::Button& Command1;
    platform::TextBox& Text3;
    platform::TextBox& Text4;
    platform::TextBox& Text6;
    platform::CheckBox& Check2;
    platform::CheckBox& Check3;
    platform::CheckBox& Check4;
    platform::Button& Command2;
    platform::CheckBox& Check1(int index) { return index == 0 ? check1_0_ : check1_1_; }

private:
    platform::CheckBox& check1_0_;
    platform::CheckBox& check1_1_;
};

}  // namespace app
