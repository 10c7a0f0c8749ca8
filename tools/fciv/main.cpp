// fciv.exe: MD5 and SHA-1 of the files of a folder, into an XML database.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "console.h"
#include "hasher.h"
#include "options.h"
#include "walker.h"
#include "xml_writer.h"

namespace fciv {

namespace {

constexpr int ExitOk = 0, ExitSomeFailed = 1, ExitUsage = 2, ExitInterrupted = 3;
constexpr uint64_t SplitAbove = 16u << 20;  // files this large get both hashes on two cores

const wchar_t Usage[] =
    L"fciv ПАПКА [-r] [-wp] [-type МАСКА] [-md5 | -sha1 | -both] -xml БАЗА\r\n"
    L"  Считает MD5 и/или SHA-1 файлов папки и пишет их в XML-базу.\r\n"
    L"  -r     со вложенными папками\r\n"
    L"  -wp    только имя файла, без пути\r\n"
    L"  -type  маска: * и ?, несколько через ; или , (по умолчанию все файлы)\r\n"
    L"  -md5, -sha1, -both  какие хэши (по умолчанию MD5)\r\n"
    L"\r\n"
    L"fciv FOLDER [-r] [-wp] [-type MASK] [-md5 | -sha1 | -both] -xml DBPATH\r\n"
    L"  Hashes the files of a folder with MD5 and/or SHA-1 into an XML database.\r\n"
    L"  -r     include sub-folders\r\n"
    L"  -wp    file names without their paths\r\n"
    L"  -type  mask: * and ?, several separated by ; or , (default: every file)\r\n"
    L"  -md5, -sha1, -both  which hashes (default: MD5)\r\n"
    L"Exit codes: 0 done, 1 some files could not be read, 2 bad command line, 3 interrupted.\r\n";

std::wstring FullPath(const std::wstring& path) {
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(n, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), n, full.data(), nullptr));
    return full;
}

std::wstring FileName(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

std::wstring Megabytes(uint64_t bytes) {
    wchar_t text[32];
    swprintf(text, 32, L"%.1f", static_cast<double>(bytes) / 1048576.0);
    return text;
}

// Writes the database to a file beside it and moves it into place when complete.
class DatabaseFile {
public:
    explicit DatabaseFile(const std::wstring& path)
        : path_(path), temp_(path + L".tmp" + std::to_wstring(GetCurrentProcessId())) {
        file_ = CreateFileW(LongPath(temp_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        Append(DatabaseHeader());
    }
    ~DatabaseFile() {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
        DeleteFileW(LongPath(temp_).c_str());  // only left behind when Commit failed
    }
    bool Open() const { return file_ != INVALID_HANDLE_VALUE; }
    void Append(const std::string& text) {
        buffer_ += text;
        if (buffer_.size() >= (1u << 20)) Flush();
    }
    bool Commit() {
        Append(DatabaseFooter());
        Flush();
        const bool closed = CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
        return ok_ && closed &&
               MoveFileExW(LongPath(temp_).c_str(), LongPath(path_).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }

private:
    void Flush() {
        DWORD written = 0;
        if (!WriteFile(file_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &written, nullptr) || written != buffer_.size())
            ok_ = false;
        buffer_.clear();
    }
    std::wstring path_, temp_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::string buffer_;
    bool ok_ = true;
};

struct Slot {
    FileHashes hashes;
    unsigned long error = 0;
    bool done = false;
};

int Run(const std::vector<std::wstring>& args) {
    const ParseResult parsed = ParseArguments(args);
    const Options& o = parsed.options;
    if (o.help) {
        Print(Stream::Out, Usage);
        return ExitOk;
    }
    if (!parsed.error.empty()) {
        Print(Stream::Err, parsed.error + L"\r\n\r\n" + Usage);
        return ExitUsage;
    }
    const std::wstring folder = ExistingFolder(o.folder);
    if (folder.empty()) {
        Print(Stream::Err, L"Папка не найдена / folder not found: " + o.folder + L"\r\n");
        return ExitUsage;
    }
    const std::wstring database = FullPath(o.database);
    if (ExistingFolder(database.substr(0, database.find_last_of(L'\\') + 1)).empty()) {
        Print(Stream::Err, L"Нет папки для базы / no folder for the database: " + o.database + L"\r\n");
        return ExitUsage;
    }

    std::atomic<bool> stop{false};
    CatchInterrupts(stop);
    const auto started = std::chrono::steady_clock::now();
    const bool console = IsConsole(Stream::Err);
    int failures = 0;
    const auto warn = [&](const std::wstring& text) { Print(Stream::Err, (console ? L"\r" : L"") + text + L"\r\n"); };

    const std::vector<FileItem> files = ListFiles(folder, Mask(o.mask), o.recursive, warn);
    std::vector<Slot> slots(files.size());
    std::mutex m;
    std::condition_variable cv;
    std::atomic<size_t> next{0};
    std::atomic<uint64_t> bytesDone{0};
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t workers = OnRotatingDisk(folder) ? 1 : std::min(cores, std::max<size_t>(files.size(), 1));
    std::vector<std::thread> pool;
    for (size_t w = 0; w < workers; ++w) {
        pool.emplace_back([&] {
            for (size_t i; !stop && (i = next++) < files.size();) {
                Slot result;
                // Two cores on one file only where cores would otherwise idle: near the end.
                const bool split = o.md5 && o.sha1 && files[i].size >= SplitAbove && files.size() - i < workers;
                const HashRequest request{o.md5, o.sha1, split};
                result.error = HashFile(files[i].path, request, result.hashes, stop, bytesDone);
                result.done = true;
                {
                    std::lock_guard lock(m);
                    slots[i] = std::move(result);
                }
                cv.notify_all();
            }
        });
    }

    DatabaseFile db(database);
    if (!db.Open()) {
        stop = true;
        for (auto& t : pool) t.join();
        Print(Stream::Err, L"Не удалось создать базу / cannot create the database: " + database + L"\r\n");
        return ExitUsage;
    }
    const auto write = [&](size_t i) {
        const Slot& s = slots[i];
        if (s.error == ERROR_OPERATION_ABORTED) return;
        if (s.error) {
            ++failures;
            warn(L"Не удалось прочитать / cannot read (" + std::to_wstring(s.error) + L"): " + files[i].path);
            return;
        }
        db.Append(DatabaseEntry(o.namesOnly ? FileName(files[i].path) : files[i].path, s.hashes.md5, s.hashes.sha1));
    };
    size_t written = 0;
    for (; written < files.size() && !stop; ++written) {
        std::unique_lock lock(m);
        while (!slots[written].done && !stop) {
            if (!cv.wait_for(lock, std::chrono::milliseconds(250), [&] { return slots[written].done || stop.load(); }) && console) {
                const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
                std::wstring line = L"\r" + std::to_wstring(written) + L"/" + std::to_wstring(files.size()) + L", " +
                                    Megabytes(bytesDone) + L" MB, " + Megabytes(static_cast<uint64_t>(bytesDone / std::max(secs, 0.001))) +
                                    L" MB/s: " + FileName(files[written].path);
                line.resize(static_cast<size_t>(std::max(ConsoleWidth() - 1, 20)), L' ');
                Print(Stream::Err, line);
            }
        }
        if (!slots[written].done) break;
        lock.unlock();
        write(written);
    }
    for (auto& t : pool) t.join();
    const bool interrupted = stop.load();
    for (size_t i = written; i < files.size(); ++i)  // what finished before the interruption
        if (slots[i].done) write(i);
    const bool committed = db.Commit();
    Finished();

    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    wchar_t summary[200];
    swprintf(summary, 200, L"%sФайлов / files: %zu, байт / bytes: %llu, секунд / seconds: %.2f, ошибок / failures: %d\r\n",
             console ? L"\r" : L"", files.size(), static_cast<unsigned long long>(bytesDone.load()), secs, failures);
    Print(Stream::Out, summary);
    if (!committed) {
        Print(Stream::Err, L"Не удалось записать базу / cannot write the database: " + database + L"\r\n");
        return ExitSomeFailed;
    }
    if (interrupted) return ExitInterrupted;
    return failures ? ExitSomeFailed : ExitOk;
}

}  // namespace

}  // namespace fciv

int wmain(int argc, wchar_t** argv) { return fciv::Run(std::vector<std::wstring>(argv + 1, argv + argc)); }
