#include "fciv/database_file.h"

#include "common/paths.h"
#include "fciv/engine/walker.h"
#include "win32/paths.h"

namespace fciv {

namespace {

constexpr wchar_t TempPrefix[] = L"~fciv";
constexpr wchar_t TempSuffix[] = L".tmp";

// "db.xml" -> "db.incomplete.xml"
std::wstring IncompleteName(const std::wstring& path) {
    const size_t dot = path.find_last_of(L'.');
    const size_t at = dot == std::wstring::npos || dot < path.find_last_of(L'\\') ? path.size() : dot;
    return path.substr(0, at) + L".incomplete" + path.substr(at);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(win32::ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether the name can be created, found before any work is done.
unsigned long CreatableProblem(const std::wstring& path) {
    if (Exists(path)) return 0;
    const win32::UniqueFile probe(CreateFileW(win32::ExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return probe ? 0 : GetLastError();
}

bool Alive(DWORD pid) {
    const win32::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));  // null when gone
    return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

// Temporary files are named after their run's process: "~fciv1234.tmp".
void RemoveLeftovers(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    const win32::UniqueFind find(
        FindFirstFileW(win32::ExtendedPath(folder + TempPrefix + L"*" + TempSuffix).c_str(), &data));
    if (!find) return;
    do {
        const std::wstring name = data.cFileName;
        if (name.size() <= 9 || name.size() > 19) continue;
        const std::wstring digits = name.substr(5, name.size() - 9);
        if (digits.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        if (!Alive(static_cast<DWORD>(std::stoull(digits)))) DeleteFileW(win32::ExtendedPath(folder + name).c_str());
    } while (FindNextFileW(find.get(), &data));
}

}  // namespace

std::wstring DatabasePathProblem(const std::wstring& path) {
    if (path.empty() || path.back() == L'\\' || path.back() == L'/')
        return L"Путь базы кончается разделителем / the database path ends in a separator";
    const DWORD attrs = GetFileAttributesW(win32::ExtendedPath(path).c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY))
        return L"Путь базы - папка / the database path is a folder";
    if (ExistingFolder(common::FolderPart(path)).empty()) return L"Нет папки для базы / no folder for the database";
    return {};
}

DatabaseFile::DatabaseFile(const std::wstring& path, std::string header, std::string interrupted, std::string footer)
    : path_(path),
      temp_(common::FolderPart(path) + TempPrefix + std::to_wstring(GetCurrentProcessId()) + TempSuffix),
      beside_(IncompleteName(path)),
      interrupted_(std::move(interrupted)),
      footer_(std::move(footer)) {
    RemoveLeftovers(common::FolderPart(path));
    file_.reset(CreateFileW(win32::ExtendedPath(temp_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    created_ = static_cast<bool>(file_);
    if (!created_) error_ = GetLastError();
    else if (!(error_ = CreatableProblem(path_))) Append(header);
}

DatabaseFile::~DatabaseFile() {
    if (!created_) return;
    file_.reset();
    DeleteFileW(win32::ExtendedPath(temp_).c_str());  // gone already when committed
}

void DatabaseFile::Append(const std::string& text) {
    buffer_ += text;
    if (buffer_.size() >= (1u << 20)) Flush();
}

void DatabaseFile::Flush() {
    if (!error_) {
        DWORD written = 0;
        if (!WriteFile(file_.get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), &written, nullptr))
            error_ = GetLastError();
        else if (written != buffer_.size())
            error_ = ERROR_DISK_FULL;
    }
    buffer_.clear();
}

unsigned long DatabaseFile::Commit(bool interrupted, bool finishedAny) {
    if (interrupted && !finishedAny && Exists(path_)) return 0;
    if (interrupted) Append(interrupted_);
    Append(footer_);
    Flush();
    if (!error_ && !FlushFileBuffers(file_.get())) error_ = GetLastError();
    file_.reset();
    written_ = interrupted && Exists(path_) ? beside_ : path_;
    if (!error_ && !MoveFileExW(win32::ExtendedPath(temp_).c_str(), win32::ExtendedPath(written_).c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error_ = GetLastError();
    return error_;
}

}  // namespace fciv
