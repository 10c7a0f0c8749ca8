#include "modes.h"

#include <windows.h>

#include <chrono>

#include "common/mask.h"
#include "console.h"
#include "database_file.h"
#include "pipeline.h"
#include "platform/system_text.h"
#include "walker.h"
#include "xml_writer.h"

namespace fciv {

namespace {
std::wstring FileName(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }
}  // namespace

int Record(const Options& o, std::atomic<bool>& stop) {
    const std::wstring folder = ExistingFolder(o.folder);
    if (folder.empty()) return Fail(ExitUsage, L"Папка не найдена / folder not found: " + o.folder);
    const std::wstring database = FullPath(o.database);
    if (const std::wstring problem = DatabasePathProblem(database); !problem.empty())
        return Fail(ExitUsage, problem + L": " + o.database);
    DatabaseFile db(database);
    if (db.Error())
        return Fail(ExitUsage, L"Не удалось создать базу / cannot create the database: " + database + L" " + Reason(db.Error()));

    const auto started = std::chrono::steady_clock::now();
    const std::vector<FileItem> files =
        ListFiles(folder, common::Mask(o.mask, platform::SameCharIgnoringCase), o.recursive, stop, Warn);
    if (files.size() == 1 && files[0].error && files[0].path == (folder.back() == L'\\' ? folder : folder + L'\\'))
        return Fail(ExitUsage, L"Нет доступа к папке / cannot list the folder: " + folder + L" " + Reason(files[0].error));

    Algorithms algorithms{};
    algorithms[Md5] = o.md5;
    algorithms[Sha1] = o.sha1;
    std::vector<Job> jobs;
    jobs.reserve(files.size());
    for (const FileItem& f : files) jobs.push_back({f.path, algorithms, f.error});
    size_t hashed = 0;
    int failures = 0;
    const uint64_t bytes = HashInOrder(jobs, OnRotatingDisk(folder), stop, [&](size_t i, const Result& r) {
        const std::wstring name = o.namesOnly ? FileName(files[i].path) : files[i].path;
        if (r.error) {
            ++failures;
            Warn(L"Не удалось прочитать / cannot read: " + files[i].path + L" " + Reason(r.error));
            db.Append(DatabaseError(name, r.error));
            return;
        }
        bool replaced = false;
        db.Append(DatabaseEntry(name, r.hashes[Md5], r.hashes[Sha1], replaced));
        if (replaced) Warn(L"Имя записано с заменой знаков, которых нет в XML / name written with U+FFFD for what XML cannot hold: " + files[i].path);
        ++hashed;
    });
    const bool interrupted = stop.load();
    // An interrupted run that finished nothing leaves the old database as it was.
    const unsigned long writeError = interrupted && hashed == 0 ? 0 : db.Commit();
    Finished();

    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    wchar_t summary[200];
    swprintf(summary, 200, L"Файлов / files: %zu, байт / bytes: %llu, секунд / seconds: %.2f, ошибок / failures: %d\r\n", hashed,
             static_cast<unsigned long long>(bytes), secs, failures);
    Print(Stream::Out, summary);
    if (writeError)
        return Fail(ExitNotWritten, L"Не удалось записать базу, старая сохранена / cannot write the database, the old one is kept: " +
                                        database + L" " + Reason(writeError));
    if (interrupted) return ExitInterrupted;
    return failures ? ExitSomeFailed : ExitOk;
}

}  // namespace fciv
