// The window's results procedures: decoding, the database read into the report, the report saved.
#include "app/form1.h"
#include "common/utf8.h"
#include "logic/results/check_report.h"
#include "logic/results/hash_report.h"
#include "logic/results/report_name.h"
#include "logic/runtime_error.h"
#include "logic/texts.h"
#include "ui/files.h"
#include "win32/system_text.h"

namespace app {

std::wstring Form1::UTF8_Decode(std::string_view bytes) const { return common::Utf8Decode(bytes); }

void Form1::ReadHashDatabase(const std::wstring& path) { ReadToolOutput(path, results::BuildHashReport); }

void Form1::ReadVerdicts(const std::wstring& path) { ReadToolOutput(path, results::BuildCheckReport); }

void Form1::ReadToolOutput(const std::wstring& path, std::wstring (*build)(std::wstring_view, results::DescribeError)) {
    std::wstring report;
    {
        std::string bytes;
        try {
            bytes = ui::ReadFileCreating(path);
        } catch (const logic::RuntimeError& e) {
            dialogs_.Error(e);
            return;
        }
        if (bytes.empty()) {
            dialogs_.Message(texts::EmptyDatabase + (L"\r" + path), ui::style::Information, L"");
            return;
        }
        std::wstring text = UTF8_Decode(bytes);
        std::string().swap(bytes);  // a large database need not be held three times over
        report = build(text, win32::SystemMessage);
    }
    Text6.SetText(report);
    if (Check4.Value() == 1) SaveReport(report);
}

void Form1::SaveReport(const std::wstring& report) {
    try {
        const std::wstring base = AppDir + results::ReportBaseName(clock_.Now());
        const std::string bytes = ui::EncodeText(report + L"\r\n");
        std::wstring path;
        for (int attempt = 1;; ++attempt) {
            if (attempt > 9999) throw logic::RuntimeError(logic::err::FileExists);
            path = results::ReportFileName(base, attempt);
            if (ui::WriteNewFile(path, bytes)) break;
        }
        // The system's editor by its full path: a notepad.exe beside the program is not it.
        window_.ReactivateAfter(shell_.StartProgram(L"\"" + ui::WindowsFolder() + L"notepad.exe\" \"" + path + L"\""));
    } catch (const logic::RuntimeError& e) {
        if (e.Number() != logic::err::FileNotFound) dialogs_.Error(e);
    }
}

}  // namespace app
