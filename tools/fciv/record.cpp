#include <windows.h>

#include <chrono>

#include "common/mask.h"
#include "common/paths.h"
#include "fciv/core/xml_writer.h"
#include "fciv/database_file.h"
#include "fciv/engine/console.h"
#include "fciv/engine/pipeline.h"
#include "fciv/engine/walker.h"
#include "fciv/modes.h"
#include "win32/system_text.h"

namespace fciv {

int Record(const Options& o, const std::atomic<bool>& stop) {
    const std::wstring folder = ExistingFolder(o.folder);
    if (folder.empty()) return Fail(ExitUsage, L"Папка не найдена / folder not found: " + o.folder);
    const std::wstring database = ExactFullPath(o.database);
    if (const std::wstring problem = DatabasePathProblem(database); !problem.empty())
        return Fail(ExitUsage, problem + L": " + o.database);
    DatabaseFile db(database, DatabaseHeader(), DatabaseInterrupted(), DatabaseFooter());
    if (db.Error())
        return Fail(ExitUsage, L"Не удалось создать или заменить базу / cannot create or replace the database: " + database + L" " + Reason(db.Error()));

    const auto started = std::chrono::steady_clock::now();
    const std::vector<FileItem> files =
        ListFiles(folder, common::Mask(o.mask, win32::SameCharIgnoringCase), o.recursive, db.OwnFiles(), stop, Warn);
    if (files.size() == 1 && files[0].error && files[0].path == (folder.back() == L'\\' ? folder : folder + L'\\'))
        return Fail(ExitUsage, L"Нет доступа к папке / cannot list the folder: " + folder + L" " + Reason(files[0].error));

    Algorithms algorithms{};
    algorithms[Md5] = o.md5;
    algorithms[Sha1] = o.sha1;
    const size_t top = common::WithBackslash(folder).size();  // -wp names are relative to the folder
    size_t listed = 0, hashed = 0;
    int failures = 0;
    const auto next = [&](Job& job) {
        if (listed == files.size()) return false;
        const FileItem& f = files[listed++];
        job.path = f.path;
        job.size = f.size;
        job.name = o.namesOnly ? f.path.substr(top) : f.path;
        job.algorithms = algorithms;
        job.error = f.error;
        return true;
    };
    const uint64_t bytes = HashInOrder(next, files.size(), OnRotatingDisk(folder), stop, [&](const Job& job, const Result& r) {
        if (r.error) {
            ++failures;
            Warn(L"Не удалось прочитать / cannot read: " + job.path + L" " + Reason(r.error));
            db.Append(DatabaseError(job.name, r.error));
            return;
        }
        bool replaced = false;
        db.Append(DatabaseEntry(job.name, r.hashes[Md5], r.hashes[Sha1], replaced));
        if (replaced) Warn(L"Имя записано с заменой знаков, которых нет в XML / name written with U+FFFD for what XML cannot hold: " + job.path);
        ++hashed;
    });
    const bool interrupted = stop.load();
    const unsigned long writeError = db.Commit(interrupted, hashed + failures > 0);
    Finished();

    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    wchar_t summary[200];
    swprintf(summary, 200, L"Файлов / files: %zu, байт / bytes: %llu, секунд / seconds: %.2f, ошибок / failures: %d\r\n", hashed,
             static_cast<unsigned long long>(bytes), secs, failures);
    Print(Stream::Out, summary);
    if (writeError)
        return Fail(ExitNotWritten, L"Не удалось записать базу, старая сохранена / cannot write the database, the old one is kept: " +
                                        database + L" " + Reason(writeError));
    if (interrupted && db.Written().empty())
        return Fail(ExitInterrupted, L"Прервано, база не тронута / interrupted, the database is as it was: " + database);
    if (interrupted)
        return Fail(ExitInterrupted, L"Прервано, готовое записано в / interrupted, what was finished is in: " + db.Written());
    return failures ? ExitSomeFailed : ExitOk;
}

}  // namespace fciv
