// The hashing tool's exit codes and its temporary file: what scripts and the window read of a run.
#pragma once

namespace common {

inline constexpr int ExitOk = 0;          // done, all right
inline constexpr int ExitSomeFailed = 1;  // done, some files unread or not right
inline constexpr int ExitUsage = 2;       // bad command line, paths or input: nothing written
inline constexpr int ExitInterrupted = 3; // interrupted: what was done is written, marked so
inline constexpr int ExitNotWritten = 4;  // the database, output or verdicts could not be written

// Where a run writes before its file is whole: "~fciv1234.tmp" beside it (1234: the run's process id).
inline constexpr wchar_t TempPrefix[] = L"~fciv";
inline constexpr wchar_t TempSuffix[] = L".tmp";

}  // namespace common
