#include <exception>
#include <iterator>

#include "app/form1.h"
#include "common/database_format.h"
#include "common/exit_codes.h"
#include "common/paths.h"
#include "common/utf8.h"
#include "common/verdicts.h"
#include "logic/job/parameters.h"
#include "logic/texts.h"
#include "ui/event_pump.h"
#include "win32/claims.h"
#include "win32/files.h"

namespace app {

namespace {
namespace db = common::database;

// The job's silent trap: a failing step is passed over and the job goes on.
template <class Step>
void Quietly(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}
}  // namespace

void Form1::Command2_Click() {
    const std::wstring folder = Dir1.Path();
    std::array<job::HashBox, 3> boxes;
    for (int i = 0; i < 3; ++i) boxes[i] = {Check1(i).Value() == 1, Check1(i).Tag};
    const std::wstring hashType = job::HashTypeText(boxes);
    RunJob(job::DatabaseName, [&](const std::wstring& database) {
        std::wstring mask, switches, parameters;
        Quietly([&] { mask = job::MaskText(File1.Pattern()); });
        Quietly([&] { switches = job::SwitchText(Check2.Value() == 1, Check3.Value() == 1); });
        Quietly([&] { parameters = job::ParameterString(folder, switches, mask, hashType, database); });
        return parameters;
    }, &Form1::ReadHashDatabase, AppDir, common::ToUtf8(std::wstring(db::Interrupted.open).append(db::Interrupted.close).append(db::Root.close)));
}

void Form1::CheckList(const std::wstring& list, job::ListKind kind, const std::wstring& folder) {
    // Run where the names are: relative ones are found there, full ones as written.
    RunJob(job::VerdictsName, [&](const std::wstring& verdicts) { return job::CheckParameters(kind, list, folder, verdicts); },
           &Form1::ReadVerdicts, folder.empty() ? win32::FolderFor(list) : folder,
           common::verdicts::Write(common::verdicts::Interrupted, {}));
}

void Form1::RunJob(std::wstring (*outputName)(int n), const std::function<std::wstring(const std::wstring& output)>& parameters,
                   void (Form1::*read)(const std::wstring& path), const std::wstring& workFolder, const std::string& interrupted) {
    if (jobRunning_) return;  // one job at a time, whatever message asks for another
    // The keyboard goes back where it was when the job ends: to the button, to the window.
    const bool buttonHadFocus = GetFocus() == Command2.Hwnd();
    const bool wasActive = GetForegroundWindow() == window_.Hwnd();
    jobRunning_ = true;
    Command2.SetEnabled(false);
    Text6.SetText(L"");  // what the box shows is this job's report or nothing

    // A file no other window's job uses: dbsha.xml, or "dbsha (2).xml" while another has that.
    win32::UniqueHandle claim;
    std::wstring output;
    for (int n = 1; !claim && n <= 99; ++n) claim = win32::ClaimName(output = AppDir + outputName(n));
    const auto finish = [&] {
        jobRunning_ = false;
        Command2.SetEnabled(true);
        if (buttonHadFocus) SetFocus(Command2.Hwnd());
    };
    try {  // what the tool writes is this run's: no file of an earlier run is left to be taken for it
        win32::DeleteForWriting(output);
    } catch (const common::RuntimeError& e) {
        Text4.SetText(L"");  // no command ran
        dialogs_.Message(win32::Exists(output) ? texts::FileInTheWay + output + L"\r" + e.Description() + L"\r" + texts::FileInTheWayAdvice
                                               : texts::FolderNotWritable + AppDir + L"\r" + e.Description() + L"\r" + texts::FolderNotWritableAdvice,
                         ui::style::Exclamation, L"");
        return finish();
    }
    if (!ui::WaitHandlingEvents(window_, 1.0)) return;  // the window has gone
    const std::wstring toolParameters = parameters(output);
    Quietly([&] { Text4.SetText(L"FCIV " + toolParameters); });
    try {
        tool_ = shell_.StartTool(window_.Hwnd(), toolParameters, AppDir, workFolder);
    } catch (const common::RuntimeError& e) {
        dialogs_.Message(texts::ToolNotFound + AppDir + texts::ToolNotFoundElsewhere + L"\r" + e.Description(),
                         ui::style::Exclamation, L"");
        return finish();
    }

    do {
        if (!ui::WaitHandlingEvents(window_, 0.5)) return;
        Quietly([&] { UpdateJobState(); });
    } while (!JobDone);
    DWORD exitCode = common::ExitOk;
    if (tool_) GetExitCodeProcess(tool_.get(), &exitCode);
    // Ended from outside (under Wine its console's [X] gives it no chance): what it finished is in its
    // temporary file, ended as it would have ended it.
    FILETIME started{}, unused[3];
    if (tool_ && exitCode != common::ExitUsage && exitCode != common::ExitNotWritten && !win32::Exists(output) &&
        GetProcessTimes(tool_.get(), &started, &unused[0], &unused[1], &unused[2]))
        win32::FinishLeftover(common::FolderPart(output) + common::TempPrefix + std::to_wstring(GetProcessId(tool_.get())) + common::TempSuffix,
                              interrupted, output, started);
    tool_.reset();
    if (wasActive) SetForegroundWindow(window_.Hwnd());  // nothing else takes it back when the console goes
    if (exitCode == common::ExitNotWritten || !win32::Exists(output)) {  // the tool says, or shows, that it wrote nothing
        const std::wstring why = exitCode < std::size(texts::ToolExit) ? texts::ToolExit[exitCode] : L"";
        dialogs_.Message(texts::ToolWroteNothing + output + L"\r" + texts::ToolExitCode + std::to_wstring(exitCode) + why,
                         ui::style::Exclamation, L"");
        return finish();
    }
    Quietly([&] { (this->*read)(output); });
    finish();
}

void Form1::UpdateJobState() { JobDone = !tool_ || WaitForSingleObject(tool_.get(), 0) != WAIT_TIMEOUT; }

}  // namespace app
