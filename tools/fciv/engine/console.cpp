#include "fciv/engine/console.h"

#include <windows.h>

#include "common/utf8.h"
#include "win32/system_text.h"

namespace fciv {

namespace {
HANDLE Handle(Stream stream) { return GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE); }

std::atomic<bool> stopFlag{false};
std::atomic<bool> outputFailed{false};
HANDLE finished = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    stopFlag = true;
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        WaitForSingleObject(finished, 4500);  // the system ends the process when this returns
    return TRUE;
}
}  // namespace

bool IsConsole(Stream stream) {
    DWORD mode;
    return GetConsoleMode(Handle(stream), &mode) != 0;
}

void Print(Stream stream, const std::wstring& text) {
    const HANDLE h = Handle(stream);
    DWORD written = 0;
    bool ok;
    if (IsConsole(stream)) {
        ok = WriteConsoleW(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    } else {
        const std::string bytes = common::ToUtf8(text);
        ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    }
    if (!ok && stream == Stream::Out) outputFailed = true;
}

bool OutputFailed() { return outputFailed; }

namespace {
void WriteLine(Stream stream, std::wstring text) {
    if (IsConsole(stream) && text.size() < static_cast<size_t>(ConsoleWidth()))
        text = L"\r" + text.append(static_cast<size_t>(ConsoleWidth()) - 1 - text.size(), L' ');
    Print(stream, text + L"\r\n");
}
}  // namespace

void Warn(const std::wstring& text) { WriteLine(Stream::Err, text); }

void Say(const std::wstring& text) { WriteLine(Stream::Out, text); }

int Fail(int code, const std::wstring& text) {
    Warn(text);
    return code;
}

std::wstring Reason(unsigned long error) { return L"(" + std::to_wstring(error) + L") " + win32::SystemMessage(error); }

int ConsoleWidth() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(Handle(Stream::Err), &info)) return 80;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

const std::atomic<bool>& CatchInterrupts() {
    if (!finished) {
        finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    }
    return stopFlag;
}

void Finished() {
    if (finished) SetEvent(finished);
}

}  // namespace fciv
