#include <windows.h>

#include <chrono>
#include <optional>

#include "common/paths.h"
#include "common/sums.h"
#include "common/utf8.h"
#include "common/verdicts.h"
#include "fciv/core/names.h"
#include "fciv/database_reader.h"
#include "fciv/engine/console.h"
#include "fciv/engine/pipeline.h"
#include "fciv/engine/walker.h"
#include "fciv/files.h"
#include "fciv/modes.h"
#include "fciv/output_file.h"
#include "win32/paths.h"

namespace fciv {

namespace {

namespace verdicts = common::verdicts;

constexpr size_t WarnedBadLines = 10;  // named one by one on the error stream; every one is in the verdicts

std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

bool IsUtf8(std::string_view bytes) {
    return bytes.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

// A line of a text in the system's ANSI code page, as the window's saved reports may be, in UTF-8.
std::string AnsiToUtf8(std::string_view bytes) {
    std::wstring text(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), static_cast<int>(text.size()));
    return common::ToUtf8(text);
}

// Where relative names are found: FOLDER, or `otherwise` when none is given; empty when FOLDER is not a folder.
std::wstring BaseFolder(const Options& o, const std::wstring& otherwise) {
    return o.folder.empty() ? otherwise : ExistingFolder(o.folder);
}

const wchar_t Refused[] = L"ОТКАЗАНО, сетевое имя или устройство / REFUSED, a network or device name";

// The files left by a stopped check, once counted, after the verdicts kept before: the window reads the last count.
void TellLeft(const std::wstring& path, size_t left) {
    const win32::UniqueFile file(CreateFileW(win32::ExtendedPath(path).c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING,
                                             FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const std::string line = verdicts::Write(verdicts::Interrupted, {std::to_wstring(left)});
    DWORD written = 0;
    if (file) WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

class Checker {
public:
    // `verdicts`: where each verdict also goes, as a line of its own, for the window.
    Checker(const Options& o, OutputFile* verdicts) : o_(o), verdicts_(verdicts) {}

    // Makes the job that checks a named file; false when FOLDER is given and the name is a full path.
    bool Expect(Job& job, const std::wstring& base, std::wstring&& name) {
        if (!o_.folder.empty() && IsFullPath(name)) {
            fullPath_ = std::move(name);
            return false;
        }
        job.path = ResolveName(base, name);
        job.name = std::move(name);
        for (int a = 0; a < common::AlgorithmCount; ++a) job.algorithms[a] = !job.expected[a].empty();
        ++given_;
        return true;
    }

    // Reports what does not check out, one line each, and counts every verdict.
    void Take(const Job& job, const Result& r) {
        ++taken_;
        const bool missing = r.error == ERROR_FILE_NOT_FOUND || r.error == ERROR_PATH_NOT_FOUND;
        if (missing && job.name.find(L'\xFFFD') != std::wstring::npos) {  // maybe a character the database could not hold
            Fault(L"НЕ ПРОВЕРИТЬ, имя записано неточно / CANNOT CHECK, name not recorded exactly: " + job.name,
                  verdicts::Write(verdicts::Inexact, {job.name}));
        } else if (missing) {
            if (o_.ignoreMissing) return;
            ++missing_;
            Say(L"НЕТ ФАЙЛА / MISSING: " + job.name);
            Verdict(verdicts::Write(verdicts::Missing, {job.name}));
        } else if (r.error) {
            ++unreadable_;
            Say(L"НЕ ПРОЧИТАН / UNREADABLE: " + job.name + L" " + Reason(r.error));
            Verdict(verdicts::Write(verdicts::Unreadable, {std::to_wstring(r.error), job.name}));
        } else {
            std::wstring differ;
            for (int a = 0; a < common::AlgorithmCount; ++a)
                if (!job.expected[a].empty() && job.expected[a] != r.hashes[a])
                    differ += (differ.empty() ? L"" : L", ") + Wide(common::AlgorithmNames[a]);
            if (differ.empty()) ++right_, Verdict(verdicts::Write(verdicts::Right, {job.name}));
            else if (job.guessed)  // the hash's length fits another algorithm too
                Fault(L"АЛГОРИТМ НЕ ОПРЕДЕЛЁН / CANNOT TELL THE ALGORITHM (not " + differ + L"): " + job.name,
                      verdicts::Write(verdicts::Untold, {differ, job.name}));
            else ++changed_, Say(L"ИЗМЕНЁН / CHANGED (" + differ + L"): " + job.name), Verdict(verdicts::Write(verdicts::Changed, {differ, job.name}));
        }
    }

    // A failure that is no file's verdict: a line or entry that cannot be checked.
    void Fault(const std::wstring& text, const std::string& verdict) {
        if (kept_) return;  // stopped: what is left is not checked
        ++faults_;
        Say(text);
        Verdict(verdict);
    }

    void NotRecorded(const std::wstring& name, unsigned long error) {
        Fault(NotRecordedText(name, error), verdicts::Write(verdicts::NotRecorded, {std::to_wstring(error), name}));
    }

    void Verdict(const std::string& line) {
        if (verdicts_ && !kept_) verdicts_->Append(line);
    }

    // A line that is no sums line, with the file it names when that much could be read.
    void BadLine(size_t line, const std::wstring& name) {
        if (++badLines_ <= WarnedBadLines) Warn(L"Не строка сумм / not a sums line" + AtLine(line));  // the rest are counted
        Verdict(verdicts::Write(verdicts::BadLine, {std::to_wstring(line), name}));
    }

    // The list cannot be checked: the reason ("Russian / English: what"), on the error
    // stream, and in the verdicts in Russian, the window's language.
    int Refuse(const std::wstring& reason) {
        const size_t english = reason.find(L" / "), what = reason.find(L": ", english);
        Verdict(verdicts::Write(verdicts::Error, {english == std::wstring::npos ? reason
                                                  : reason.substr(0, english) + (what == std::wstring::npos ? L"" : reason.substr(what))}));
        Keep(false);
        return Fail(common::ExitUsage, reason);
    }

    // Stopped: the verdicts so far are kept before the files left are counted, as a closing console waits only seconds;
    // `total`: the files the list names, when known before (0: not known).
    void Stopped(size_t total) {
        total_ = total;
        Keep(true);
    }

    // The summary and the exit code.
    int Finish(std::chrono::steady_clock::time_point started, const std::atomic<bool>& stop) {
        if (!fullPath_.empty())
            return Refuse(L"Полный путь в списке, ПАПКА к нему не применима / the list names a full path, which FOLDER cannot apply to: " +
                          fullPath_ + L"\r\nПроверьте без ПАПКИ, а копию - списком от исходной папки / check without FOLDER; "
                          L"for a copy list the names relative to the original: fciv -list -xml DB ORIGINAL > SUMS, then fciv -v -sums SUMS COPY");
        if (badLines_ > WarnedBadLines)
            Warn(L"Ещё строк не сумм / more lines that are not sums lines: " + std::to_wstring(badLines_ - WarnedBadLines));
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        wchar_t summary[300];
        swprintf(summary, 300,
                 L"Верно / right: %zu, изменено / changed: %zu, нет / missing: %zu, не прочитано / unreadable: %zu, "
                 L"плохих строк / bad lines: %zu, секунд / seconds: %.2f",
                 right_, changed_, missing_, unreadable_, badLines_, secs);
        std::wstring text = summary;
        if (faults_) text += L", не проверить / cannot check: " + std::to_wstring(faults_);
        if (stop) text += L"\r\nПрервано / interrupted, не проверено / not checked: " + std::to_wstring(given_ - taken_);
        Say(text);
        const bool written = Keep(stop);
        if (stop && !total_ && verdicts_ && written) TellLeft(verdicts_->Written(), given_ - taken_);
        if (stop) return common::ExitInterrupted;
        if (!written) return common::ExitNotWritten;
        if (o_.ignoreMissing && right_ + changed_ + unreadable_ == 0)
            return Fail(common::ExitSomeFailed, L"Ни один файл не проверен / no file was checked");
        return changed_ || missing_ || unreadable_ || faults_ || (badLines_ && o_.strict) ? common::ExitSomeFailed : common::ExitOk;
    }

private:
    void Say(const std::wstring& text) const {
        if (!o_.status) fciv::Say(text);
    }

    // Ends the verdicts and moves them into place, once; false when they could not be written.
    bool Keep(bool interrupted) {
        if (kept_) return written_;
        if (interrupted)
            Verdict(total_ ? verdicts::Write(verdicts::Interrupted, {std::to_wstring(total_ - taken_)}) : verdicts::Write(verdicts::Interrupted, {}));
        kept_ = true;
        written_ = !verdicts_ || !verdicts_->Commit(interrupted, true);
        if (!written_) Warn(L"Не удалось записать итоги / cannot write the verdicts: " + Reason(verdicts_->Error()));
        return written_;
    }

    const Options& o_;
    OutputFile* verdicts_;
    std::wstring fullPath_;  // a full name FOLDER cannot apply to
    size_t right_ = 0, changed_ = 0, missing_ = 0, unreadable_ = 0, faults_ = 0, given_ = 0, taken_ = 0, badLines_ = 0, total_ = 0;
    bool kept_ = false, written_ = true;
};

// Hashes and judges the files `next` names; when stopped, counts the ones left unchecked.
void CheckAll(const JobSource& next, size_t total, const std::wstring& base, const std::atomic<bool>& stop, Checker& checker) {
    HashInOrder(next, total, OnRotatingDisk(base), stop, [&](const Job& job, const Result& r) { checker.Take(job, r); });
    if (!stop) return;
    checker.Stopped(total);
    for (Job job; next(job); job = {}) {
    }
}

int CheckDatabase(const Options& o, const std::atomic<bool>& stop, Checker& checker) {
    const std::wstring base = BaseFolder(o, win32::FullPath(L"."));
    if (base.empty()) return checker.Refuse(L"Папка не найдена / folder not found: " + o.folder);
    const auto started = std::chrono::steady_clock::now();
    DatabaseReader reader(o.database);
    size_t bad = 0;
    const auto next = [&](Job& job) {
        for (DatabaseItem item; reader.Next(item);) {
            switch (item.kind) {
            case DatabaseItem::File:
                if (common::IsNetworkOrDevice(common::ToUtf8(item.name))) {  // as untrusted as a sums file
                    checker.Fault(Refused + AtLine(item.line), verdicts::Write(verdicts::Refused, {std::to_wstring(item.line), item.name}));
                    break;
                }
                job.expected = std::move(item.hashes);
                return checker.Expect(job, base, std::move(item.name));
            case DatabaseItem::Unread:
                checker.NotRecorded(item.name, item.error);
                break;
            case DatabaseItem::Bad:
                ++bad;
                Warn(NotAFile(item));
                checker.Verdict(verdicts::Write(verdicts::BadEntry, {std::to_wstring(item.line)}));
                break;
            case DatabaseItem::Interrupted:
                checker.Fault(NotAFile(item), verdicts::Write(verdicts::Incomplete, {}));
                break;
            }
        }
        return false;
    };
    CheckAll(next, 0, base, stop, checker);
    if (!reader.Error().empty()) return checker.Refuse(reader.Error() + L": " + o.database);
    const int code = checker.Finish(started, stop);
    return bad && code == common::ExitOk ? common::ExitSomeFailed : code;
}

// Where the entries of the file the entry at `at` names end: its other hashes on the lines
// right after it (a report's SHA1 after its MD5) are checked with one read.
size_t FileEnd(const std::vector<common::SumEntry>& entries, size_t at) {
    common::Algorithms seen{};
    size_t end = at;
    do seen[entries[end++].algorithm] = true;
    while (end < entries.size() && entries[end].name == entries[at].name && entries[end].line == entries[end - 1].line + 1 &&
           entries[end].guessed == entries[at].guessed && !seen[entries[end].algorithm]);
    return end;
}

int CheckSums(const Options& o, const std::atomic<bool>& stop, Checker& checker) {
    // Read twice, line by line: a file that is not all UTF-8 (and has no UTF-8 mark) is in the ANSI code page.
    size_t lines = 0;
    bool utf8 = true, marked = false;
    const auto cannotRead = [&](unsigned long error) { return checker.Refuse(L"не прочитать / cannot read " + Reason(error) + L": " + o.sums); };
    if (const unsigned long error = ReadLines(o.sums, common::LongestSumsLine, [&](std::string_view line, bool tooLong) {
            marked = marked || (++lines == 1 && line.starts_with("\xEF\xBB\xBF"));
            utf8 = utf8 && (tooLong || IsUtf8(line));
        }))
        return cannotRead(error);
    utf8 = utf8 || marked;
    if (lines == 0) return checker.Refuse(L"файл пуст / the file is empty: " + o.sums);
    const std::wstring full = ExactFullPath(o.sums);
    const std::wstring base = BaseFolder(o, common::FolderOf(full));
    if (base.empty()) return checker.Refuse(L"Папка не найдена / folder not found: " + o.folder);
    const auto started = std::chrono::steady_clock::now();
    const auto judge = [&](const common::SumsProblem& p) {
        switch (p.problem) {
        case common::LineProblem::NotSums:
            checker.BadLine(p.line, common::Utf8Decode(p.name));
            break;
        case common::LineProblem::Unsupported:
            checker.Fault(L"НЕ ПОДДЕРЖАН / UNSUPPORTED (" + common::Utf8Decode(p.algorithm) + L")" + AtLine(p.line),
                          verdicts::Write(verdicts::Unsupported, {common::Utf8Decode(p.algorithm), std::to_wstring(p.line), common::Utf8Decode(p.name)}));
            break;
        case common::LineProblem::Refused:
            checker.Fault(Refused + AtLine(p.line), verdicts::Write(verdicts::Refused, {std::to_wstring(p.line), common::Utf8Decode(p.name)}));
            break;
        case common::LineProblem::NotRecorded:
            checker.NotRecorded(common::Utf8Decode(p.name), p.error);
            break;
        case common::LineProblem::Interrupted:
            checker.Fault(Incomplete, verdicts::Write(verdicts::Incomplete, {}));
            break;
        }
    };
    common::SumsReader reader(common::AlgorithmOfFileName(common::ToUtf8(full)));
    if (const unsigned long error = ReadLines(o.sums, common::LongestSumsLine, [&](std::string_view line, bool tooLong) {
            if (tooLong) reader.TooLong();
            else reader.Line(utf8 ? std::string(line) : AnsiToUtf8(line));
            for (const common::SumsProblem& p : reader.TakeProblems()) judge(p);  // as they come: a file of bad lines needs no memory
        }))
        return cannotRead(error);
    const common::SumsFile sums = reader.Finish();
    for (const common::SumsProblem& p : sums.problems) judge(p);
    if (sums.entries.empty()) return checker.Refuse(L"нет сумм, которые можно проверить / no sums that can be checked: " + o.sums);
    size_t at = 0, files = 0;
    for (size_t i = 0; i < sums.entries.size(); i = FileEnd(sums.entries, i)) ++files;
    const auto next = [&](Job& job) {
        if (at == sums.entries.size()) return false;
        const common::SumEntry& e = sums.entries[at];
        for (const size_t end = FileEnd(sums.entries, at); at < end; ++at) job.expected[sums.entries[at].algorithm] = sums.entries[at].hex;
        std::wstring name = common::Utf8Decode(e.name);
        for (auto& c : name)
            if (c == L'/') c = L'\\';
        job.guessed = e.guessed;
        return checker.Expect(job, base, std::move(name));
    };
    CheckAll(next, files, base, stop, checker);
    return checker.Finish(started, stop);
}

}  // namespace

int Check(const Options& o, const std::atomic<bool>& stop) {
    std::optional<OutputFile> verdicts;
    if (!o.verdicts.empty()) {
        const std::wstring path = ExactFullPath(o.verdicts);
        if (const std::wstring problem = OutputPathProblem(path); !problem.empty()) return Fail(common::ExitUsage, problem + L": " + o.verdicts);
        // The list itself, through whatever name: the old verdicts are removed, so it would be lost.
        if (const auto id = IdOf(path); id && id == IdOf(ExactFullPath(o.database.empty() ? o.sums : o.database)))
            return Fail(common::ExitUsage, L"Файл итогов - это проверяемый список / the verdicts file is the list being checked: " + o.verdicts);
        verdicts.emplace(path, "", "", "", OldFile::Removed);
        if (verdicts->Error())
            return Fail(common::ExitUsage, L"Не удалось создать файл итогов / cannot create the verdicts: " + path + L" " + Reason(verdicts->Error()));
    }
    Checker checker(o, verdicts ? &*verdicts : nullptr);
    return o.database.empty() ? CheckSums(o, stop, checker) : CheckDatabase(o, stop, checker);
}

}  // namespace fciv
