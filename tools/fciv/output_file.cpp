#include "fciv/output_file.h"

#include "common/exit_codes.h"
#include "common/paths.h"
#include "common/text.h"
#include "fciv/files.h"
#include "win32/paths.h"

namespace fciv {

namespace {


// "db.xml" -> "db.incomplete.xml"
std::wstring IncompleteName(const std::wstring& path) {
    const size_t dot = path.find_last_of(L'.');
    const size_t at = dot == std::wstring::npos || dot < path.find_last_of(L'\\') ? path.size() : dot;
    return path.substr(0, at) + L".incomplete" + path.substr(at);
}

// A name Windows keeps for a device in every folder, whatever its extension: written through a
// full path it would become a file no other program can open or remove.
bool IsDeviceName(std::wstring_view name) {
    name = common::TrimEnd(name.substr(0, name.find(L'.')), std::wstring_view(L" "));
    const std::wstring upper = common::AsciiUpper(name);
    const bool numbered = upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")) && upper[3] >= L'1' && upper[3] <= L'9';
    return numbered || upper == L"CON" || upper == L"PRN" || upper == L"AUX" || upper == L"NUL";
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(win32::ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// Why the file at `path` could not be created or replaced when the run is done; 0 when it can.
unsigned long TargetProblem(const std::wstring& path) {
    const std::wstring extended = win32::ExtendedPath(path);
    const DWORD attributes = GetFileAttributesW(extended.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const win32::UniqueFile probe(CreateFileW(extended.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        return probe ? 0 : GetLastError();
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) return ERROR_ACCESS_DENIED;
    // Opened as replacing it needs, and alone: a file that may not be deleted or written (immutable), or that
    // another program holds open in any way (replacing it would fail at the end), fails here.
    const win32::UniqueFile target(CreateFileW(extended.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                               FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return target ? 0 : GetLastError();
}

bool Alive(DWORD pid) {
    const win32::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));  // null when gone
    return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

// Removes a file through a handle to that very file, and only when it is a file of its folder itself: a link
// is left alone (Wine's DeleteFile would remove the file it points to). 0 or the system's error.
unsigned long RemovePlainFile(const std::wstring& path) {
    const win32::UniqueFile file(CreateFileW(win32::ExtendedPath(path).c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                             0, nullptr));
    if (!file) return GetLastError();
    FILE_DISPOSITION_INFO remove{TRUE};
    if (!win32::IsEntryItself(file.get(), path)) return 0;
    return SetFileInformationByHandle(file.get(), FileDispositionInfo, &remove, sizeof remove) ? 0 : GetLastError();
}

// Temporary files are named after their run's process: "~fciv1234.tmp", or "~fciv1234.2.tmp" and on when a
// file or link already has that name.
void RemoveLeftovers(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    const win32::UniqueFind find(
        FindFirstFileW(win32::ExtendedPath(folder + common::TempPrefix + L"*" + common::TempSuffix).c_str(), &data));
    if (!find) return;
    do {
        const std::wstring name = data.cFileName;
        const std::wstring middle = name.substr(5, name.size() - 9);  // "1234" or "1234.2"
        const std::wstring pid = middle.substr(0, middle.find(L'.'));
        if (!pid.empty() && pid.size() <= 10 && middle.find_first_not_of(L"0123456789.") == std::wstring::npos &&
            !Alive(static_cast<DWORD>(std::stoull(pid))))
            RemovePlainFile(folder + name);
    } while (FindNextFileW(find.get(), &data));
}

}  // namespace

std::wstring OutputPathProblem(const std::wstring& path) {
    if (path.empty() || path.back() == L'\\' || path.back() == L'/')
        return L"Путь файла кончается разделителем / the output path ends in a separator";
    if (IsDeviceName(path.substr(path.find_last_of(L"\\/") + 1))) return L"Имя устройства, а не файла / a device's name, not a file's";
    const DWORD attrs = GetFileAttributesW(win32::ExtendedPath(path).c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY))
        return L"Путь файла - папка / the output path is a folder";
    if (ExistingFolder(common::FolderPart(path)).empty()) return L"Нет папки для файла / no folder for the output file";
    return {};
}

OutputFile::OutputFile(const std::wstring& path, std::string header, std::string interrupted, std::string footer, OldFile old)
    : path_(path), beside_(IncompleteName(path)), old_(old), interrupted_(std::move(interrupted)), footer_(std::move(footer)) {
    const std::wstring folder = common::FolderPart(path);
    RemoveLeftovers(folder);
    // Made new, so that no file or link that someone put there is followed or written.
    const std::wstring run = folder + common::TempPrefix + std::to_wstring(GetCurrentProcessId());
    for (int n = 1; !file_ && n <= 100; ++n) {
        const std::wstring temp = run + (n > 1 ? L"." + std::to_wstring(n) : L"") + common::TempSuffix;
        const HANDLE h = CreateFileW(win32::ExtendedPath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        error_ = h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        file_.reset(h);
        if (file_) temp_ = temp;
        else if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) break;
    }
    if (!error_) error_ = TargetProblem(path_);
    if (!error_ && old_ == OldFile::Removed && (error_ = RemovePlainFile(path_)) == ERROR_FILE_NOT_FOUND) error_ = 0;
    if (!error_) Append(header);
}

OutputFile::~OutputFile() {
    if (temp_.empty()) return;
    file_.reset();
    DeleteFileW(win32::ExtendedPath(temp_).c_str());  // gone already when committed
}

void OutputFile::Append(const std::string& text) {
    buffer_ += text;
    // Whole entries on disk, the first at once and then a few times a second: a run ended from outside
    // leaves what it finished.
    if (++appended_ <= 2 || buffer_.size() >= (1u << 20) || std::chrono::steady_clock::now() - flushed_ > std::chrono::milliseconds(250))
        Flush();
}

void OutputFile::Flush() {
    if (!error_) {
        DWORD written = 0;
        if (!WriteFile(file_.get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), &written, nullptr))
            error_ = GetLastError();
        else if (written != buffer_.size())
            error_ = ERROR_DISK_FULL;
    }
    buffer_.clear();
    flushed_ = std::chrono::steady_clock::now();
}

unsigned long OutputFile::Commit(bool interrupted, bool finishedAny) {
    const bool keepOld = interrupted && old_ == OldFile::KeptWhenInterrupted && Exists(path_);
    if (keepOld && !finishedAny) return 0;
    if (interrupted) Append(interrupted_);
    Append(footer_);
    Flush();
    if (!error_ && !FlushFileBuffers(file_.get())) error_ = GetLastError();
    file_.reset();
    written_ = keepOld ? beside_ : path_;
    if (!error_ && !MoveFileExW(win32::ExtendedPath(temp_).c_str(), win32::ExtendedPath(written_).c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error_ = GetLastError();
    return error_;
}

std::vector<OwnFile> OutputFile::OwnFiles() const {
    std::vector<OwnFile> own;
    for (const std::wstring& path : {path_, temp_, beside_}) {
        WIN32_FIND_DATAW data;  // for its long name, whatever spelling the path has
        const win32::UniqueFind find(FindFirstFileW(win32::ExtendedPath(path).c_str(), &data));
        const std::optional<FileId> id = find ? IdOf(path) : std::nullopt;
        if (id) own.push_back({data.cFileName, *id});
    }
    return own;
}

}  // namespace fciv
