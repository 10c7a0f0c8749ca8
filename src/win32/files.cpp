#include "win32/files.h"

#include <algorithm>
#include <vector>

#include "common/paths.h"
#include "win32/handle.h"
#include "win32/paths.h"
#include "win32/win_error.h"

namespace win32 {

std::wstring WindowsFolder() {
    wchar_t folder[MAX_PATH];
    const UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
    const std::wstring path(folder, n < MAX_PATH ? n : 0);
    return path.ends_with(L'\\') ? path : path + L'\\';
}

std::wstring ExecutableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return common::FolderOf(path);
}

std::wstring FolderFor(const std::wstring& path) {
    const DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) return path;
    return common::FolderOf(path);
}

unsigned long ReadPieces(HANDLE file, uint64_t most, const std::function<void(std::string_view)>& take) {
    std::vector<char> buffer(static_cast<size_t>(std::min<uint64_t>(most, 1 << 20)));
    for (uint64_t done = 0; done < most;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(std::min<uint64_t>(most - done, buffer.size())), &got, nullptr))
            return GetLastError();
        if (got == 0) break;  // its end: the file may have shrunk meanwhile
        done += got;
        take(std::string_view(buffer.data(), got));
    }
    return 0;
}

std::string FileHead(const std::wstring& path) {
    const win32::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string head;
    if (!file || ReadPieces(file.get(), 4096, [&](std::string_view piece) { head += piece; })) head.clear();
    return head;
}

std::string ReadFileCreating(const std::wstring& path) {
    win32::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) ThrowLastError();
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) ThrowLastError();
    std::string bytes;
    bytes.reserve(static_cast<size_t>(size.QuadPart));
    if (const unsigned long error = ReadPieces(file.get(), static_cast<uint64_t>(size.QuadPart), [&](std::string_view piece) { bytes += piece; }))
        throw FromWin32(error);
    return bytes;
}

bool WriteNewFile(const std::wstring& path, const std::string& bytes) {
    win32::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) return false;
        throw FromWin32(code);
    }
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        const DWORD code = GetLastError();
        file.reset();
        DeleteFileW(path.c_str());
        throw FromWin32(code ? code : ERROR_DISK_FULL);
    }
    return true;
}

void DeleteForWriting(const std::wstring& path) {
    // Opened to be deleted, or made new when missing: both ask the folder for a new file. Made new, a link
    // to nothing in its place is not followed.
    constexpr DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    win32::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, share, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file && GetLastError() == ERROR_FILE_NOT_FOUND)
        file.reset(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, share, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!file) ThrowLastError();  // held open by another program, read-only, or the folder's refusal
    // A link in its place stays, as a file in the way: deleting through it would remove what it leads to.
    FILE_DISPOSITION_INFO remove{TRUE};
    if (!IsEntryItself(file.get(), path)) SetLastError(ERROR_ACCESS_DENIED);
    else if (SetFileInformationByHandle(file.get(), FileDispositionInfo, &remove, sizeof remove)) return;
    ThrowLastError();
}

bool FinishLeftover(const std::wstring& leftover, const std::string& end, const std::wstring& path, const FILETIME& since) {
    {
        const win32::UniqueFile file(CreateFileW(leftover.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                                 FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        LARGE_INTEGER size{};
        FILETIME made;
        DWORD written = 0;
        if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart == 0 || !GetFileTime(file.get(), &made, nullptr, nullptr) ||
            CompareFileTime(&made, &since) < 0 ||
            !WriteFile(file.get(), end.data(), static_cast<DWORD>(end.size()), &written, nullptr) || written != end.size())
            return false;
    }
    return MoveFileExW(leftover.c_str(), path.c_str(), 0) != FALSE;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string EncodeText(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &lossy);
    if (n > 0 && !lossy) {
        std::string ansi(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, ansi.data(), n, nullptr, nullptr);
        return ansi;
    }
    n = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8 = "\xEF\xBB\xBF";
    utf8.resize(3 + static_cast<size_t>(n));
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data() + 3, n, nullptr, nullptr);
    return utf8;
}

}  // namespace win32
