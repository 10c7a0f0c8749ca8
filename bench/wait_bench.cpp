// The program's own CPU use while a job waits for a 5-second tool, against a
// baseline that waits the same time by spinning on the event queue.
#include "win32/win.h"

#include <cstdio>
#include <string>

#include "app/form1.h"
#include "quiet_services.h"
#include "ui/event_pump.h"

namespace {

double CpuSeconds() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto s = [](FILETIME t) { return static_cast<double>((uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 1e7; };
    return s(kernel) + s(user);
}

double WallSeconds() { return static_cast<double>(GetTickCount64()) / 1000.0; }

}  // namespace

int main() {
    wchar_t self[MAX_PATH], temp[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    GetTempPathW(MAX_PATH, temp);
    std::wstring bin = self;
    bin.erase(bin.find_last_of(L'\\') + 1);
    const std::wstring appDir = std::wstring(temp) + L"tallymere wait bench\\";
    CreateDirectoryW(appDir.c_str(), nullptr);
    CopyFileW((bin + L"stand_in.exe").c_str(), (appDir + L"fciv.exe").c_str(), FALSE);
    SetEnvironmentVariableW(L"TALLYMERE_STANDIN_MS", L"5000");

    bench::SilentDialogs dialogs;
    ui::Win32Shell shell;
    ui::SystemClock clock;
    app::Form1 form(dialogs, shell, clock);
    form.AppDir = appDir;

    double cpu = CpuSeconds(), wall = WallSeconds();
    SendMessageW(form.Command2.Hwnd(), BM_CLICK, 0, 0);  // the whole job runs inside the click
    const double jobCpu = CpuSeconds() - cpu, jobWall = WallSeconds() - wall;

    cpu = CpuSeconds();
    wall = WallSeconds();
    MSG msg;
    while (WallSeconds() - wall < 2.0) PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);  // waiting without sleeping
    const double spinCpu = CpuSeconds() - cpu, spinWall = WallSeconds() - wall;

    std::printf("%-36s %8s %8s %10s\n", "wait", "wall s", "CPU s", "CPU share");
    std::printf("%-36s %8.2f %8.3f %9.1f%%\n", "spinning on the queue (baseline)", spinWall, spinCpu, 100 * spinCpu / spinWall);
    std::printf("%-36s %8.2f %8.3f %9.1f%%\n", "a job with a 5-second tool", jobWall, jobCpu, 100 * jobCpu / jobWall);
    std::printf("the job's CPU share is %.3f of the baseline's\n", (jobCpu / jobWall) / (spinCpu / spinWall));
    DeleteFileW((appDir + L"fciv.exe").c_str());
    DeleteFileW((appDir + L"dbsha.xml").c_str());
    RemoveDirectoryW(appDir.c_str());
}
