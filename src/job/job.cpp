#include <exception>

#include "app/form1.h"
#include "job/parameters.h"
#include "job/process_search.h"
#include "platform/event_pump.h"
#include "platform/files.h"

namespace app {

namespace {
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
    Command2.SetEnabled(false);
    const std::wstring folder = Dir1.Path();
    const bool md5 = Check1(0).Value() == 1, sha1 = Check1(1).Value() == 1;
    const std::wstring hashType = job::HashTypeText(md5, Check1(0).Tag, sha1, Check1(1).Tag);

    Quietly([&] { platform::DeleteFileQuietly(AppDir + L"dbsha.xml"); });
    if (!platform::WaitHandlingEvents(window_, 1.0)) return;  // the window has gone
    std::wstring mask, switches, parameters;
    Quietly([&] { mask = job::MaskText(File1.Pattern()); });
    Quietly([&] { switches = job::SwitchText(Check2.Value() == 1, Check3.Value() == 1); });
    Quietly([&] { parameters = job::ParameterString(folder, switches, mask, hashType, AppDir); });
    Quietly([&] { Text4.SetText(L"FCIV " + parameters); });
    Quietly([&] { shell_.StartTool(window_.Hwnd(), parameters, AppDir); });

    do {
        if (!platform::WaitHandlingEvents(window_, 0.5)) return;
        Quietly([&] { UpdateJobState(); });
    } while (!JobDone);
    Quietly([&] { ShowResults(); });
    Command2.SetEnabled(true);
}

void Form1::UpdateJobState() { JobDone = job::IsProcessRunning(L"fciv.exe") != 1; }

void Form1::ShowResults() { ReadHashDatabase(AppDir + L"dbsha.xml"); }

}  // namespace app
