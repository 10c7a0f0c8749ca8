// Text to the console or to a redirected stream, and the console's Ctrl+C and close.
#pragma once
#include <atomic>
#include <string>

namespace fciv {

enum class Stream { Out, Err };

void Print(Stream stream, const std::wstring& text);
// Whether a write to the output stream failed (a full disk, a closed pipe).
bool OutputFailed();
// A line on the error stream, clear of the progress line.
void Warn(const std::wstring& text);
// A line of the result on the output stream, clear of the progress line.
void Say(const std::wstring& text);
// Warns and gives back the exit code.
int Fail(int code, const std::wstring& text);
// "(5) Access is denied.": an error's number and the system's words for it.
std::wstring Reason(unsigned long error);
bool IsConsole(Stream stream);
// Width of the console window in characters; 80 when unknown.
int ConsoleWidth();

// Ctrl+C, Ctrl+Break and closing the console set the flag returned, which
// lives as long as the process; a close waits until Finished() so that the
// database is complete before the process is ended. Installs the handler on
// the first call; needs no C++ runtime, so it may run before it starts.
const std::atomic<bool>& CatchInterrupts();
void Finished();

}  // namespace fciv
