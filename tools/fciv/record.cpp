#include <windows.h>

#include <algorithm>
#include <chrono>

#include "common/mask.h"
#include "common/paths.h"
#include "common/sums.h"
#include "common/utf8.h"
#include "fciv/core/names.h"
#include "fciv/core/xml_writer.h"
#include "fciv/engine/console.h"
#include "fciv/engine/pipeline.h"
#include "fciv/engine/walker.h"
#include "fciv/files.h"
#include "fciv/modes.h"
#include "fciv/output_file.h"
#include "win32/system_text.h"

namespace fciv {

namespace {

// A recorded name as a sums line holds it: relative to the folder, with '/'.
std::string SumsEntry(std::wstring name, const std::string& hex, bool& replaced) {
    for (auto& c : name)
        if (c == L'\\') c = L'/';
    const std::wstring line = SumsLine(hex, name);
    std::string utf8 = common::ToUtf8(line);
    replaced = common::Utf8Decode(utf8) != line;
    return utf8;
}

}  // namespace

int Record(const Options& o, const std::atomic<bool>& stop) {
    const std::wstring folder = ExistingFolder(o.folder);
    if (folder.empty()) return Fail(common::ExitUsage, L"Папка не найдена / folder not found: " + o.folder);
    const bool sums = !o.sums.empty();
    const std::wstring given = sums ? o.sums : o.database, database = ExactFullPath(given);
    const std::wstring ru = sums ? L"файл сумм" : L"базу", en = sums ? L"the sums file" : L"the database";  // in messages
    if (const std::wstring problem = OutputPathProblem(database); !problem.empty())
        return Fail(common::ExitUsage, problem + L": " + given);
    OutputFile db(database, sums ? "" : DatabaseHeader(), sums ? std::string(common::SumsInterrupted) + "\r\n" : DatabaseInterrupted(),
                    sums ? "" : DatabaseFooter());
    if (db.Error())
        return Fail(common::ExitUsage, L"Не удалось создать или заменить " + ru + L" / cannot create or replace " + en + L": " + database + L" " + Reason(db.Error()));

    const auto started = std::chrono::steady_clock::now();
    const std::vector<FileItem> files =
        ListFiles(folder, common::Mask(o.mask, win32::SameCharIgnoringCase), o.recursive, db.OwnFiles(), stop, Warn);
    if (files.size() == 1 && files[0].error && files[0].path == common::WithBackslash(folder))
        return Fail(common::ExitUsage, L"Нет доступа к папке / cannot list the folder: " + folder + L" " + Reason(files[0].error));

    const size_t top = common::WithBackslash(folder).size();  // -wp names are relative to the folder
    size_t listed = 0, hashed = 0;
    int failures = 0;
    const auto next = [&](Job& job) {
        if (listed == files.size()) return false;
        const FileItem& f = files[listed++];
        job.path = f.path;
        job.size = f.size;
        job.name = o.namesOnly || sums ? f.path.substr(top) : f.path;
        job.algorithms = o.hashes;
        job.error = f.error;
        return true;
    };
    const uint64_t bytes = HashInOrder(next, files.size(), OnRotatingDisk(folder), stop, [&](const Job& job, const Result& r) {
        if (r.error) {
            ++failures;
            Warn(L"Не удалось прочитать / cannot read: " + job.path + L" " + Reason(r.error));
            if (!sums) db.Append(DatabaseError(job.name, r.error));  // a sums file has no place for it: named on the error stream alone
            return;
        }
        bool replaced = false;
        const int a = std::find(o.hashes.begin(), o.hashes.end(), true) - o.hashes.begin();
        db.Append(sums ? SumsEntry(job.name, r.hashes[a], replaced) : DatabaseEntry(job.name, r.hashes, replaced));
        if (replaced) Warn(L"Имя записано с заменой знаков, которых файл не может хранить / name written with U+FFFD for what the file cannot hold: " + job.path);
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
        return Fail(common::ExitNotWritten, L"Не удалось записать " + ru + L", прежний файл сохранён / cannot write " + en + L", the old one is kept: " +
                                        database + L" " + Reason(writeError));
    if (interrupted && db.Written().empty())
        return Fail(common::ExitInterrupted, L"Прервано, прежний файл не тронут / interrupted, " + en + L" is as it was: " + database);
    if (interrupted)
        return Fail(common::ExitInterrupted, L"Прервано, готовое записано в / interrupted, what was finished is in: " + db.Written());
    return failures ? common::ExitSomeFailed : common::ExitOk;
}

}  // namespace fciv
