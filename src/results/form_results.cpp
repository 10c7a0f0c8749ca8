// The window's results procedures: decoding, the database read into the report, the report saved.
// Reading and saving run off the window's thread: a report of a million files takes seconds.
#include "app/form1.h"
#include "common/runtime_error.h"
#include "common/utf8.h"
#include "logic/results/check_report.h"
#include "logic/results/hash_report.h"
#include "logic/results/report_name.h"
#include "logic/texts.h"
#include "ui/off_thread.h"
#include "win32/files.h"
#include "win32/system_text.h"

namespace app {

namespace {

// Writes the report to a new file, `base`.txt or "`base` (N).txt"; its path.
std::wstring WriteReport(const std::wstring& base, const std::wstring& report) {
    const std::string bytes = win32::EncodeText(report) + "\r\n";
    for (int attempt = 1; attempt <= 9999; ++attempt) {
        std::wstring path = results::ReportFileName(base, attempt);
        if (win32::WriteNewFile(path, bytes)) return path;
    }
    throw common::RuntimeError(common::err::FileExists);
}

}  // namespace

std::wstring Form1::UTF8_Decode(std::string_view bytes) const { return common::Utf8Decode(bytes); }

void Form1::ReadHashDatabase(const std::wstring& path) {
    ReadToolOutput(path, [](std::string_view bytes, results::Progress& progress) {
        return results::BuildHashReport(bytes, win32::SystemMessage, &progress);
    });
}

void Form1::ReadVerdicts(const std::wstring& path) {
    ReadToolOutput(path, [this](std::string_view bytes, results::Progress&) {
        return results::BuildCheckReport(UTF8_Decode(bytes), win32::SystemMessage);
    });
}

void Form1::ReadToolOutput(const std::wstring& path, const std::function<std::wstring(std::string_view, results::Progress&)>& build) {
    std::optional<ui::LinedText> report;
    try {
        report = ui::OffThread(window_, [&](results::Progress& progress) {
            std::string bytes = win32::ReadFileCreating(path);
            if (bytes.empty()) return ui::LinedText{};  // no text: an empty file
            std::wstring text = build(bytes, progress);
            std::string().swap(bytes);  // a large database need not be held beside its lines
            return ui::LinesOf(std::move(text));
        }, [&](int percent) { Text6.SetStatus(texts::ReadingReport + std::to_wstring(percent) + L" %"); });
    } catch (const common::RuntimeError& e) {
        Text6.SetStatus(L"");
        dialogs_.Error(e);
        return;
    }
    Text6.SetStatus(L"");
    if (!report) return;  // the window has gone
    if (report->text.empty()) {
        dialogs_.Message(texts::EmptyDatabase + (L"\r" + path), ui::style::Information, L"");
        return;
    }
    Text6.SetReport(std::move(*report));
    if (Check4.Value() == 1) SaveReport(Text6.Report()->text);  // held until saved, whatever the box is told meanwhile
}

void Form1::SaveReport(const std::wstring& report) {
    try {
        const std::wstring base = AppDir + results::ReportBaseName(clock_.Now());
        const auto path = ui::OffThread(window_, [&](results::Progress&) { return WriteReport(base, report); }, [](int) {});
        if (!path) return;  // the window has gone
        // The system's editor by its full path: a notepad.exe beside the program is not it.
        window_.ReactivateAfter(shell_.StartProgram(L"\"" + win32::WindowsFolder() + L"notepad.exe\" \"" + *path + L"\""));
    } catch (const common::RuntimeError& e) {
        if (e.Number() != common::err::FileNotFound) dialogs_.Error(e);
    }
}

}  // namespace app
