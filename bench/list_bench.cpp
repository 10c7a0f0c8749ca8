// How long the window takes to fill its lists for a large folder: from a changed
// mask and from a changed folder to the filled list, against a bare listing of
// the same folder in the same run.
#include "win32/win.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "app/form1.h"
#include "form_probe.h"
#include "quiet_services.h"

namespace {

double Seconds(const std::function<void()>& step) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        step();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

void ListBare(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH);
    while (FindNextFileW(find, &data)) {
    }
    FindClose(find);
}

struct NoClock : ui::Clock {
    logic::DateTime Now() override { return {}; }
};

}  // namespace

int main() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"tallymere list bench";
    const std::wstring files = root + L"\\20000 files", folders = root + L"\\5000 folders";
    CreateDirectoryW(root.c_str(), nullptr);
    if (CreateDirectoryW(files.c_str(), nullptr)) {
        for (int i = 0; i < 20000; ++i)
            CloseHandle(CreateFileW((files + L"\\file " + std::to_wstring(i) + L".bin").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, 0, nullptr));
        CreateDirectoryW(folders.c_str(), nullptr);
        for (int i = 0; i < 5000; ++i) CreateDirectoryW((folders + L"\\folder " + std::to_wstring(i)).c_str(), nullptr);
    }
    bench::SilentDialogs dialogs;
    bench::NoShell shell;
    NoClock clock;
    app::Form1 form(dialogs, shell, clock);
    form.Show();

    std::printf("%-34s %9s %9s\n", "step", "seconds", "vs bare");
    const auto row = [](const char* name, double t, double base) { std::printf("%-34s %9.3f %8.1fx\n", name, t, base ? t / base : 1.0); };
    const double bareFiles = Seconds([&] { ListBare(files); });
    row("bare listing, 20,000 files", bareFiles, bareFiles);
    app::FormProbe::GoToPath(form, files);
    int flip = 0;
    row("mask changed, file list filled", Seconds([&] { form.Text3.SetText(++flip % 2 ? L"*.bin" : L"*.*"); }), bareFiles);
    row("folder changed, lists filled", Seconds([&] {
            app::FormProbe::GoToPath(form, root);
            app::FormProbe::GoToPath(form, files);
        }) / 2, bareFiles);
    const double bareFolders = Seconds([&] { ListBare(folders); });
    row("bare listing, 5,000 folders", bareFolders, bareFolders);
    row("folder changed, lists filled", Seconds([&] {
            app::FormProbe::GoToPath(form, root);
            app::FormProbe::GoToPath(form, folders);
        }) / 2, bareFolders);
    return 0;
}
