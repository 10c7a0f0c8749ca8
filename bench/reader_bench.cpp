// Time of the read-and-show step (read the database, decode, scan, fill the
// result box) for 10k, 100k and 1M entries, with the ratio between sizes.
#include "win32/win.h"

#include <psapi.h>

#include <cstdio>
#include <string>

#include "app/form1.h"
#include "form_probe.h"
#include "quiet_services.h"
#include "ui/files.h"

namespace {

using bench::NoShell;
using bench::SilentDialogs;

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

double Seconds() {
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

}  // namespace

int main() {
    SilentDialogs dialogs;
    NoShell shell;
    ui::SystemClock clock;
    app::Form1 form(dialogs, shell, clock);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"tallymere_bench_dbsha.xml";

    std::printf("%-10s %10s %10s %12s\n", "entries", "MB", "seconds", "vs previous");
    double previous = 0;
    for (int entries : {10000, 100000, 1000000}) {
        DeleteFileW(path.c_str());
        const std::string db = Database(entries);
        ui::WriteNewFile(path, db);
        const double start = Seconds();
        app::FormProbe::ReadHashDatabase(form, path);
        const double took = Seconds() - start;
        if (form.Text6.Text().size() < static_cast<size_t>(entries) * 100) std::printf("report too short!\n");
        std::printf("%-10d %10.1f %10.3f %11.1fx\n", entries, static_cast<double>(db.size()) / 1e6, took,
                    previous > 0 ? took / previous : 0.0);
        previous = took;
    }
    DeleteFileW(path.c_str());
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("peak working set: %.0f MB\n", static_cast<double>(memory.PeakWorkingSetSize) / 1e6);
}
