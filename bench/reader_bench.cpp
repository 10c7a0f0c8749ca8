// Reading the database and showing the report for 10k, 100k and 1M entries: the window's way
// (read and built off its thread, the report box drawing only what is in sight) against the way
// it replaced, re-enacted (all on the window's thread, the report handed to a multi-line edit).
// Last, a job whose stand-in tool hands over 300,000 entries, from the click to the report.
// Each run in a process of its own: seconds, the longest the window did not answer, peak MB.
#include "win32/win.h"

#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "app/form1.h"
#include "common/utf8.h"
#include "form_probe.h"
#include "logic/results/hash_report.h"
#include "quiet_services.h"
#include "win32/files.h"

namespace {

double Seconds() {
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

std::string Database(int entries) {
    std::string db = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<FCIV>\r\n";
    db.reserve(static_cast<size_t>(entries) * 160);
    for (int i = 0; i < entries; ++i) {
        db += "<FILE_ENTRY><name>C:\\data\\\xD0\xBF\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0\\file_" + std::to_string(i) +
              ".txt</name><MD5>d41d8cd98f00b204e9800998ecf8427e</MD5>"
              "<SHA1>da39a3ee5e6b4b0d3255bfef95601890afd80709</SHA1></FILE_ENTRY>\r\n";
    }
    return db + "</FCIV>\r\n";
}

// Asks the window a trivial question from another thread, again and again: the longest wait for an answer.
class Prober {
public:
    explicit Prober(HWND hwnd)
        : thread_([this, hwnd] {
              while (!stop_) {
                  const double asked = Seconds();
                  DWORD_PTR ignored;
                  SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &ignored);
                  longest_ = std::max(longest_.load(), Seconds() - asked);
                  Sleep(10);
              }
              finished_ = true;
          }) {}
    double Stop() {
        stop_ = true;
        MSG msg;
        while (!finished_) PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // answers its last question
        thread_.join();
        return longest_;
    }

private:
    std::atomic<bool> stop_{false}, finished_{false};
    std::atomic<double> longest_{0};
    std::thread thread_;
};

// One run, in this process: "window", "edit" or "job"; prints seconds, longest unanswered, peak MB.
int Run(const std::wstring& way, const std::wstring& database) {
    bench::SilentDialogs dialogs;
    bench::NoShell noShell;
    ui::Win32Shell shell;
    ui::SystemClock clock;
    app::Form1 form(dialogs, way == L"job" ? static_cast<ui::Shell&>(shell) : noShell, clock);
    form.Show();
    const HWND edit = way != L"edit" ? nullptr : CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE |
        ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL, 400, 180, 500, 460, form.Window().Hwnd(), nullptr, nullptr, nullptr);
    SendMessageW(edit, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring appDir = std::wstring(temp) + L"tallymere reader bench\\";
    if (way == L"job") {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring bin = self;
        bin.erase(bin.find_last_of(L'\\') + 1);
        CreateDirectoryW(appDir.c_str(), nullptr);
        CopyFileW((bin + L"stand_in.exe").c_str(), (appDir + L"fciv.exe").c_str(), FALSE);
        SetEnvironmentVariableW(L"TALLYMERE_STANDIN_MS", L"0");
        SetEnvironmentVariableW(L"TALLYMERE_STANDIN_DB", database.c_str());
        form.AppDir = appDir;
    }
    Prober prober(form.Window().Hwnd());
    const double start = Seconds();
    if (way == L"window") {
        app::FormProbe::ReadHashDatabase(form, database);
    } else if (way == L"job") {
        SendMessageW(form.Command2.Hwnd(), BM_CLICK, 0, 0);  // the whole job runs inside the click
    } else {
        std::string bytes = win32::ReadFileCreating(database);
        { const std::wstring text = common::Utf8Decode(bytes); }  // decoded whole, as it was
        const std::wstring report = results::BuildHashReport(bytes, [](unsigned long) { return std::wstring(); });
        std::string().swap(bytes);
        SetWindowTextW(edit, report.c_str());
    }
    UpdateWindow(form.Window().Hwnd());
    const double took = Seconds() - start, longest = prober.Stop();
    if (GetWindowTextLengthW(way == L"edit" ? edit : form.Text6.Hwnd()) < 1000) std::printf("no report! ");
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("%10.2f %10.2f %8.0f", took, longest, static_cast<double>(memory.PeakWorkingSetSize) / 1e6);
    if (way == L"job") {
        for (const wchar_t* name : {L"fciv.exe", L"dbsha.xml"}) DeleteFileW((appDir + name).c_str());
        RemoveDirectoryW(appDir.c_str());
    }
    return 0;
}

// Runs one measurement in a child process and prints its line.
void Measure(const wchar_t* way, const std::wstring& database) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" " + way + L" \"" + database + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::fflush(stdout);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return;
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3) return Run(argv[1], argv[2]);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"tallymere_bench_dbsha.xml";
    std::printf("%-28s %6s %10s %10s %8s\n", "entries, way", "MB", "seconds", "unanswered", "peak MB");
    const auto row = [&](int entries, const wchar_t* way, const char* label) {
        DeleteFileW(path.c_str());
        const std::string db = Database(entries);
        win32::WriteNewFile(path, db);
        std::printf("%-28s %6.1f ", (std::to_string(entries) + label).c_str(), static_cast<double>(db.size()) / 1e6);
        Measure(way, path);
        std::printf("\n");
    };
    for (int entries : {10000, 100000, 1000000}) {
        row(entries, L"edit", ", edit (before)");
        row(entries, L"window", ", report box");
    }
    row(300000, L"job", ", job with stand-in tool");
    DeleteFileW(path.c_str());
    return 0;
}
