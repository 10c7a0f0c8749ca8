// fciv.exe: MD5 and SHA-1 of the files of a folder, into an XML database.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "console.h"
#include "database_file.h"
#include "hasher.h"
#include "options.h"
#include "platform/system_text.h"
#include "walker.h"
#include "xml_writer.h"

namespace fciv {

namespace {

constexpr int ExitOk = 0, ExitSomeFailed = 1, ExitUsage = 2, ExitInterrupted = 3, ExitNotWritten = 4;
constexpr uint64_t SplitAbove = 16u << 20;  // files this large may get their two hashes on two cores

const wchar_t Usage[] =
    L"fciv ПАПКА [-r] [-wp] [-type МАСКА] [-md5 | -sha1 | -both] -xml БАЗА\r\n"
    L"  Считает MD5 и/или SHA-1 файлов папки и пишет их в XML-базу.\r\n"
    L"  -r     со вложенными папками\r\n"
    L"  -wp    только имя файла, без пути\r\n"
    L"  -type  маска: * и ?, несколько через ; или , (по умолчанию все файлы)\r\n"
    L"  -md5, -sha1, -both  какие хэши (по умолчанию MD5; -md5 -sha1 вместе - оба)\r\n"
    L"\r\n"
    L"fciv FOLDER [-r] [-wp] [-type MASK] [-md5 | -sha1 | -both] -xml DBPATH\r\n"
    L"  Hashes the files of a folder with MD5 and/or SHA-1 into an XML database.\r\n"
    L"  -r     include sub-folders\r\n"
    L"  -wp    file names without their paths\r\n"
    L"  -type  mask: * and ?, several separated by ; or , (default: every file)\r\n"
    L"  -md5, -sha1, -both  which hashes (default: MD5; -md5 -sha1 together: both)\r\n"
    L"Exit codes: 0 done, 1 some files or folders could not be read, 2 bad command line or\r\n"
    L"paths (nothing written), 3 interrupted, 4 the database could not be written (the old one kept).\r\n";

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

// "(5) Access is denied.": the error's number and the system's words for it.
std::wstring Reason(unsigned long error) { return L"(" + std::to_wstring(error) + L") " + platform::SystemMessage(error); }

int Fail(int code, const std::wstring& text) {
    Print(Stream::Err, text + L"\r\n");
    return code;
}

struct Slot {
    FileHashes hashes;
    unsigned long error = 0;
    bool done = false;
};

// A worker's failure that is not the file's: recorded against the file.
unsigned long HashCaught(const FileItem& item, const HashRequest& request, FileHashes& out, const std::atomic<bool>& stop,
                         std::atomic<uint64_t>& progress) {
    try {
        return HashFile(item.path, request, out, stop, progress);
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const std::system_error&) {
        return ERROR_NO_SYSTEM_RESOURCES;
    } catch (...) {
        return ERROR_INTERNAL_ERROR;
    }
}

int Run(const std::vector<std::wstring>& args) {
    const ParseResult parsed = ParseArguments(args);
    const Options& o = parsed.options;
    if (o.help) {
        Print(Stream::Out, Usage);
        return ExitOk;
    }
    if (!parsed.error.empty()) return Fail(ExitUsage, parsed.error + L"\r\n\r\n" + Usage);
    const std::wstring folder = ExistingFolder(o.folder);
    if (folder.empty()) return Fail(ExitUsage, L"Папка не найдена / folder not found: " + o.folder);
    const std::wstring database = FullPath(o.database);
    if (const std::wstring problem = DatabasePathProblem(database); !problem.empty())
        return Fail(ExitUsage, problem + L": " + o.database);
    std::atomic<bool> stop{false};
    CatchInterrupts(stop);
    DatabaseFile db(database);
    if (db.Error())
        return Fail(ExitUsage, L"Не удалось создать базу / cannot create the database: " + database + L" " + Reason(db.Error()));

    const auto started = std::chrono::steady_clock::now();
    const bool console = IsConsole(Stream::Err);
    const auto warn = [&](const std::wstring& text) { Print(Stream::Err, (console ? L"\r" : L"") + text + L"\r\n"); };

    const std::vector<FileItem> files =
        ListFiles(folder, common::Mask(o.mask, platform::SameCharIgnoringCase), o.recursive, stop, warn);
    if (files.size() == 1 && files[0].error && files[0].path == (folder.back() == L'\\' ? folder : folder + L'\\'))
        return Fail(ExitUsage, L"Нет доступа к папке / cannot list the folder: " + folder + L" " + Reason(files[0].error));

    std::vector<Slot> slots(files.size());
    for (size_t i = 0; i < files.size(); ++i) slots[i] = {{}, files[i].error, files[i].error != 0};
    std::mutex m;
    std::condition_variable cv;
    std::atomic<size_t> next{0}, busy{0};
    std::atomic<uint64_t> bytesDone{0};
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t workers = OnRotatingDisk(folder) ? 1 : std::min(cores, std::max<size_t>(files.size(), 1));
    const auto work = [&] {
        for (size_t i; !stop && (i = next++) < files.size();) {
            if (files[i].error) continue;  // a folder that could not be listed
            ++busy;
            // Both hashes of a large file on two cores whenever a core would otherwise idle.
            const size_t waiting = files.size() - std::min(next.load(), files.size());
            const bool split = o.md5 && o.sha1 && files[i].size >= SplitAbove && busy + waiting < cores;
            Slot result;
            result.error = HashCaught(files[i], {o.md5, o.sha1, split}, result.hashes, stop, bytesDone);
            result.done = true;
            --busy;
            {
                std::lock_guard lock(m);
                slots[i] = std::move(result);
            }
            cv.notify_all();
        }
    };
    std::vector<std::thread> pool;
    try {
        while (pool.size() < workers) pool.emplace_back(work);
    } catch (const std::system_error&) {  // run with the threads there are
    }
    if (pool.empty()) work();

    size_t hashed = 0;
    int failures = 0;
    const auto write = [&](size_t i) {
        const Slot& s = slots[i];
        if (s.error == ERROR_OPERATION_ABORTED) return;
        if (s.error) {
            ++failures;
            warn(L"Не удалось прочитать / cannot read: " + files[i].path + L" " + Reason(s.error));
            db.Append(DatabaseError(o.namesOnly ? FileName(files[i].path) : files[i].path, s.error));
            return;
        }
        bool replaced = false;
        db.Append(DatabaseEntry(o.namesOnly ? FileName(files[i].path) : files[i].path, s.hashes.md5, s.hashes.sha1, replaced));
        if (replaced) warn(L"Имя записано с заменой знаков, которых нет в XML / name written with U+FFFD for what XML cannot hold: " + files[i].path);
        ++hashed;
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
    // An interrupted run that finished nothing leaves the old database as it was.
    const unsigned long writeError = interrupted && hashed == 0 ? 0 : db.Commit();
    Finished();

    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    wchar_t summary[200];
    swprintf(summary, 200, L"%sФайлов / files: %zu, байт / bytes: %llu, секунд / seconds: %.2f, ошибок / failures: %d\r\n",
             console ? L"\r" : L"", hashed, static_cast<unsigned long long>(bytesDone.load()), secs, failures);
    Print(Stream::Out, summary);
    if (writeError)
        return Fail(ExitNotWritten, L"Не удалось записать базу, старая сохранена / cannot write the database, the old one is kept: " +
                                        database + L" " + Reason(writeError));
    if (interrupted) return ExitInterrupted;
    return failures ? ExitSomeFailed : ExitOk;
}

}  // namespace

}  // namespace fciv

int wmain(int argc, wchar_t** argv) { return fciv::Run(std::vector<std::wstring>(argv + 1, argv + argc)); }
