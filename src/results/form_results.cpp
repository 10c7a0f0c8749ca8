// The window's results procedures: decoding, the database read into the report, the report saved.
#include "app/form1.h"
#include "platform/files.h"
#include "platform/runtime_error.h"
#include "platform/system_text.h"
#include "results/check_report.h"
#include "results/hash_report.h"
#include "results/report_name.h"
#include "common/utf8.h"
#include "texts.h"

namespace app {

namespace {
std::wstring ErrorText(const platform::RuntimeError& e) { return std::to_wstring(e.Number()) + L"\r" + e.Description(); }
}  // namespace

std::wstring Form1::UTF8_Decode(std::string_view bytes) const { return common::Utf8Decode(bytes); }

void Form1::ReadHashDatabase(const std::wstring& path) { ReadToolOutput(path, results::BuildHashReport); }

void Form1::ReadVerdicts(const std::wstring& path) { ReadToolOutput(path, results::BuildCheckReport); }

void Form1::ReadToolOutput(const std::wstring& path, std::wstring (*build)(std::wstring_view, results::DescribeError)) {
    std::wstring report;
    {
        std::string bytes;
        try {
            bytes = platform::ReadFileCreating(path);
        } catch (const platform::RuntimeError& e) {
            dialogs_.Message(ErrorText(e), platform::style::OkOnly, L"");
            return;
        }
        if (bytes.empty()) {
            dialogs_.Message(texts::EmptyDatabase + (L"\r" + path), platform::style::Information, L"");
            return;
        }
        std::wstring text = UTF8_Decode(bytes);
        std::string().swap(bytes);  // a large database need not be held three times over
        report = build(text, platform::SystemMessage);
    }
    Text6.SetText(report);
    if (Check4.Value() == 1) SaveReport();
}

void Form1::SaveReport() {
    try {
        const std::wstring base = AppDir + results::ReportBaseName(clock_.Now());
        const std::string bytes = platform::EncodeText(Text6.Text() + L"\r\n");
        std::wstring path;
        for (int attempt = 1;; ++attempt) {
            if (attempt > 9999) throw platform::RuntimeError(platform::err::FileExists);
            path = results::ReportFileName(base, attempt);
            if (platform::WriteNewFile(path, bytes)) break;
        }
        // The system's editor by its full path: a notepad.exe beside the program is not it.
        window_.ReactivateAfter(shell_.StartProgram(L"\"" + platform::WindowsFolder() + L"notepad.exe\" \"" + path + L"\""));
    } catch (const platform::RuntimeError& e) {
        if (e.Number() != platform::err::FileNotFound) dialogs_.Message(ErrorText(e), platform::style::OkOnly, L"");
    }
}

}  // namespace app
