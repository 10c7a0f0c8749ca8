// Files, folders and the program's own location, for the window: a failure raises its runtime
// error (common/runtime_error.h). ReadPieces, which the tool uses too, returns the system's error.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "win32/win.h"

namespace win32 {

// The folder of the running executable, as the system reports it.
std::wstring ExecutableFolder();

// The Windows folder, ending in a backslash: where the system's own programs are.
std::wstring WindowsFolder();

// The folder to open for a path: the path itself, or for an existing file its folder.
std::wstring FolderFor(const std::wstring& path);

// Reads an open file on from where it stands, to its end or `most` bytes, handing `take` a piece
// (up to 1 MiB) at a time. 0 or the system's error.
unsigned long ReadPieces(HANDLE file, uint64_t most, const std::function<void(std::string_view piece)>& take);

// The first bytes of a file (up to 4 KiB); empty for a folder or what cannot be read.
std::string FileHead(const std::wstring& path);

// The whole content of a file, which is created empty when missing.
std::string ReadFileCreating(const std::wstring& path);

// Writes a file that must not exist yet: false when it does. A failed write
// leaves no partial file behind.
bool WriteNewFile(const std::wstring& path, const std::string& bytes);

// Deletes a file, missing or not, and so finds out whether its folder takes
// new files; throws the runtime error when the file stays or the folder does not.
void DeleteForWriting(const std::wstring& path);

// Ends the file `leftover` with `end` and moves it to `path`, when it holds something and was made
// since `since` (a file put there before is no run's leftover); false when not.
bool FinishLeftover(const std::wstring& leftover, const std::string& end, const std::wstring& path, const FILETIME& since);

// Whether a file or folder of that name is there.
bool Exists(const std::wstring& path);

// Text in the ANSI code page when every character has a place in it,
// otherwise UTF-8 with a byte-order mark.
std::string EncodeText(const std::wstring& text);

}  // namespace win32
