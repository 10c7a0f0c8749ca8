#include <windows.h>

#include <chrono>
#include <optional>

#include "common/sums.h"
#include "common/utf8.h"
#include "fciv/core/names.h"
#include "fciv/database_file.h"
#include "fciv/database_reader.h"
#include "fciv/engine/console.h"
#include "fciv/engine/pipeline.h"
#include "fciv/engine/walker.h"
#include "fciv/modes.h"
#include "win32/paths.h"

namespace fciv {

namespace {

const wchar_t Incomplete[] = L"База неполная / incomplete: interrupted while recording";

std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }
std::wstring AtLine(size_t number) { return L", строка / line " + std::to_wstring(number); }

// Text that is not UTF-8 is in the system's ANSI code page, as the window's saved reports may be.
std::string AsUtf8(std::string bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF") ||
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0) > 0)
        return bytes;
    std::wstring text(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), static_cast<int>(text.size()));
    return common::ToUtf8(text);
}

// Where relative names are found: FOLDER, or `otherwise` when none is given; empty when FOLDER is not a folder.
std::wstring BaseFolder(const Options& o, const std::wstring& otherwise) {
    return o.folder.empty() ? otherwise : ExistingFolder(o.folder);
}

// A name as a verdict line carries it: no tab or line end inside.
std::wstring VerdictName(std::wstring name) {
    for (auto& c : name)
        if (c == L'\t' || c == L'\r' || c == L'\n') c = L'\xFFFD';
    return name;
}

class Checker {
public:
    // `verdicts`: where each verdict also goes, as a line of its own, for the window.
    Checker(const Options& o, DatabaseFile* verdicts) : o_(o), verdicts_(verdicts) {}

    // Reports what does not check out, one line each, and counts every verdict.
    void Take(const Job& job, const Result& r) {
        ++taken_;
        if (r.error == ERROR_FILE_NOT_FOUND || r.error == ERROR_PATH_NOT_FOUND) {
            if (o_.ignoreMissing) return;
            ++missing_;
            Say(L"НЕТ ФАЙЛА / MISSING: " + job.name);
            Verdict(L"MISSING\t" + VerdictName(job.name));
        } else if (r.error) {
            ++unreadable_;
            Say(L"НЕ ПРОЧИТАН / UNREADABLE: " + job.name + L" " + Reason(r.error));
            Verdict(L"UNREADABLE\t" + std::to_wstring(r.error) + L"\t" + VerdictName(job.name));
        } else {
            std::wstring differ;
            for (int a = 0; a < AlgorithmCount; ++a)
                if (!job.expected[a].empty() && job.expected[a] != r.hashes[a])
                    differ += (differ.empty() ? L"" : L", ") + Wide(AlgorithmNames[a]);
            if (differ.empty()) ++right_, Verdict(L"RIGHT\t" + VerdictName(job.name));
            else ++changed_, Say(L"ИЗМЕНЁН / CHANGED (" + differ + L"): " + job.name), Verdict(L"CHANGED\t" + differ + L"\t" + VerdictName(job.name));
        }
    }

    // A failure that is no file's verdict: a line or entry that cannot be checked.
    void Fault(const std::wstring& text, const std::wstring& verdict) {
        ++faults_;
        Say(text);
        Verdict(verdict);
    }

    void Verdict(const std::wstring& line) {
        if (verdicts_) verdicts_->Append(common::ToUtf8(line + L"\r\n"));
    }

    // The list cannot be checked: the reason, on the error stream and in the verdicts.
    int Refuse(const std::wstring& reason) {
        Verdict(L"ERROR\t" + VerdictName(reason));
        Commit(false);
        return Fail(ExitUsage, reason);
    }

    // The summary and the exit code; `notChecked`: files left when interrupted.
    int Finish(size_t given, size_t notChecked, std::chrono::steady_clock::time_point started, size_t badLines,
               const std::atomic<bool>& stop) {
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        wchar_t summary[300];
        swprintf(summary, 300,
                 L"Верно / right: %zu, изменено / changed: %zu, нет / missing: %zu, не прочитано / unreadable: %zu, "
                 L"плохих строк / bad lines: %zu, секунд / seconds: %.2f",
                 right_, changed_, missing_, unreadable_, badLines, secs);
        std::wstring text = summary;
        if (faults_) text += L", не проверить / cannot check: " + std::to_wstring(faults_);
        if (stop) text += L"\r\nПрервано / interrupted, не проверено / not checked: " + std::to_wstring(notChecked + given - taken_);
        Say(text);
        if (badLines) Verdict(L"BAD_LINES\t" + std::to_wstring(badLines));
        if (stop) Verdict(L"INTERRUPTED\t" + std::to_wstring(notChecked + given - taken_));
        const bool written = Commit(stop);
        if (stop) return ExitInterrupted;
        if (!written) return ExitNotWritten;
        if (o_.ignoreMissing && right_ + changed_ + unreadable_ == 0)
            return Fail(ExitSomeFailed, L"Ни один файл не проверен / no file was checked");
        return changed_ || missing_ || unreadable_ || faults_ || (badLines && o_.strict) ? ExitSomeFailed : ExitOk;
    }

private:
    void Say(const std::wstring& text) const {
        if (!o_.status) fciv::Say(text);
    }

    // False when the verdicts could not be written.
    bool Commit(bool interrupted) {
        if (!verdicts_ || !verdicts_->Commit(interrupted, true)) return true;
        Warn(L"Не удалось записать итоги / cannot write the verdicts: " + Reason(verdicts_->Error()));
        return false;
    }

    const Options& o_;
    DatabaseFile* verdicts_;
    size_t right_ = 0, changed_ = 0, missing_ = 0, unreadable_ = 0, faults_ = 0, taken_ = 0;
};

// What a database entry that is no hashed file says, on one line.
std::wstring NotAFile(const DatabaseItem& item) {
    if (item.kind == DatabaseItem::Unread) return L"НЕ ЗАПИСАН / NOT RECORDED: " + item.name + L" (" + Reason(item.error) + L")";
    if (item.kind == DatabaseItem::Bad) return L"Запись без имени или хэша / entry without a name or hash" + AtLine(item.line);
    return Incomplete;
}

void Expect(Job& job, const std::wstring& base, std::wstring name) {
    job.path = ResolveName(base, name);
    job.name = std::move(name);
    for (int a = 0; a < AlgorithmCount; ++a) job.algorithms[a] = !job.expected[a].empty();
}

int CheckDatabase(const Options& o, const std::atomic<bool>& stop, Checker& checker) {
    const std::wstring base = BaseFolder(o, win32::FullPath(L"."));
    if (base.empty()) return checker.Refuse(L"Папка не найдена / folder not found: " + o.folder);
    const auto started = std::chrono::steady_clock::now();
    DatabaseReader reader(o.database);
    size_t given = 0, bad = 0;
    const auto next = [&](Job& job) {
        for (DatabaseItem item; reader.Next(item);) {
            switch (item.kind) {
            case DatabaseItem::File:
                job.expected[Md5] = std::move(item.md5), job.expected[Sha1] = std::move(item.sha1);
                Expect(job, base, std::move(item.name));
                ++given;
                return true;
            case DatabaseItem::Unread:
                checker.Fault(NotAFile(item), L"NOT_RECORDED\t" + std::to_wstring(item.error) + L"\t" + VerdictName(item.name));
                break;
            case DatabaseItem::Bad:
                ++bad;
                Warn(NotAFile(item));
                checker.Verdict(L"BAD_ENTRY\t" + std::to_wstring(item.line));
                break;
            case DatabaseItem::Interrupted:
                checker.Fault(NotAFile(item), L"INCOMPLETE");
                break;
            }
        }
        return false;
    };
    HashInOrder(next, 0, OnRotatingDisk(base), stop, [&](const Job& job, const Result& r) { checker.Take(job, r); });
    size_t rest = 0;
    for (Job job; stop && next(job);) ++rest;
    if (!reader.Error().empty()) return checker.Refuse(reader.Error() + L": " + o.database);
    const int code = checker.Finish(given, rest, started, 0, stop);
    return bad && code == ExitOk ? ExitSomeFailed : code;
}

int CheckSums(const Options& o, const std::atomic<bool>& stop, Checker& checker) {
    std::string bytes;
    if (const unsigned long error = ReadWholeFile(o.sums, bytes)) return checker.Refuse(L"не прочитать / cannot read " + Reason(error) + L": " + o.sums);
    if (bytes.empty()) return checker.Refuse(L"файл пуст / the file is empty: " + o.sums);
    const std::wstring full = ExactFullPath(o.sums);
    const std::wstring base = BaseFolder(o, full.substr(0, full.find_last_of(L'\\')));
    if (base.empty()) return checker.Refuse(L"Папка не найдена / folder not found: " + o.folder);
    const auto started = std::chrono::steady_clock::now();
    const SumsFile sums = ParseSums(AsUtf8(std::move(bytes)), AlgorithmOfFileName(common::ToUtf8(full)));
    size_t badLines = 0;
    for (const SumsProblem& p : sums.problems) {
        if (p.problem == LineProblem::NotSums) {
            ++badLines;
            Warn(L"Не строка сумм / not a sums line" + AtLine(p.line));
        } else if (p.problem == LineProblem::Unsupported) {
            checker.Fault(L"НЕ ПОДДЕРЖАН / UNSUPPORTED (" + common::Utf8Decode(p.algorithm) + L")" + AtLine(p.line),
                          L"UNSUPPORTED\t" + common::Utf8Decode(p.algorithm) + L"\t" + std::to_wstring(p.line));
        } else {
            checker.Fault(L"ОТКАЗАНО, сетевое имя или устройство / REFUSED, a network or device name" + AtLine(p.line),
                          L"REFUSED\t" + std::to_wstring(p.line));
        }
    }
    if (sums.entries.empty()) return checker.Refuse(L"нет сумм, которые можно проверить / no sums that can be checked: " + o.sums);
    size_t given = 0;
    const auto next = [&](Job& job) {
        if (given == sums.entries.size()) return false;
        const SumEntry& e = sums.entries[given++];
        std::wstring name = common::Utf8Decode(e.name);
        for (auto& c : name)
            if (c == L'/') c = L'\\';
        job.expected[e.algorithm] = e.hex;
        // One read for a file's next hash on the next line (a report's SHA1 after its MD5).
        for (; given < sums.entries.size() && sums.entries[given].name == e.name && sums.entries[given].line == e.line + 1 &&
               job.expected[sums.entries[given].algorithm].empty();
             ++given)
            job.expected[sums.entries[given].algorithm] = sums.entries[given].hex;
        Expect(job, base, std::move(name));
        return true;
    };
    HashInOrder(next, sums.entries.size(), OnRotatingDisk(base), stop, [&](const Job& job, const Result& r) { checker.Take(job, r); });
    return checker.Finish(given, sums.entries.size() - given, started, badLines, stop);
}

// A recorded name as a sums line names it: relative to `folder` with '/' when under it.
std::wstring SumsName(const std::wstring& name, const std::wstring& folder) {
    const int n = static_cast<int>(folder.size());
    if (folder.empty() || name.size() <= folder.size() ||
        CompareStringOrdinal(name.c_str(), n, folder.c_str(), n, TRUE) != CSTR_EQUAL)
        return name;
    std::wstring relative = name.substr(folder.size());
    for (auto& c : relative)
        if (c == L'\\') c = L'/';
    return relative;
}

// "HASH  NAME"; a name with a line break is escaped, its line marked with '\'.
std::wstring SumsLine(const std::string& hex, const std::wstring& name) {
    if (name.find_first_of(L"\r\n") == std::wstring::npos) return Wide(hex) + L"  " + name + L"\r\n";
    std::wstring escaped;
    for (wchar_t c : name) escaped += c == L'\\' ? L"\\\\" : c == L'\n' ? L"\\n" : c == L'\r' ? L"\\r" : std::wstring(1, c);
    return L"\\" + Wide(hex) + L"  " + escaped + L"\r\n";
}

}  // namespace

int Check(const Options& o, const std::atomic<bool>& stop) {
    std::optional<DatabaseFile> verdicts;
    if (!o.verdicts.empty()) {
        const std::wstring path = ExactFullPath(o.verdicts);
        if (const std::wstring problem = DatabasePathProblem(path); !problem.empty()) return Fail(ExitUsage, problem + L": " + o.verdicts);
        verdicts.emplace(path, "", "", "", OldFile::Removed);
        if (verdicts->Error())
            return Fail(ExitUsage, L"Не удалось создать файл итогов / cannot create the verdicts: " + path + L" " + Reason(verdicts->Error()));
    }
    Checker checker(o, verdicts ? &*verdicts : nullptr);
    return o.database.empty() ? CheckSums(o, stop, checker) : CheckDatabase(o, stop, checker);
}

int List(const Options& o) {
    std::wstring folder;
    if (!o.folder.empty()) {
        folder = ExistingFolder(o.folder);
        if (folder.empty()) return Fail(ExitUsage, L"Папка не найдена / folder not found: " + o.folder);
        if (!folder.ends_with(L'\\')) folder += L'\\';
    }
    bool failed = false, first = true;  // the first pass warns
    for (const Algorithm a : {Md5, Sha1}) {
        if (o.md5 != o.sha1 && (a == Sha1) != o.sha1) continue;
        DatabaseReader reader(o.database);
        std::wstring out;
        for (DatabaseItem item; reader.Next(item);) {
            const std::string& hex = a == Md5 ? item.md5 : item.sha1;
            if (item.kind == DatabaseItem::File && !hex.empty()) out += SumsLine(hex, SumsName(item.name, folder));
            else if (item.kind != DatabaseItem::File && first) failed = true, Warn(NotAFile(item));
            if (out.size() >= 32768) Print(Stream::Out, out), out.clear();
        }
        Print(Stream::Out, out);
        if (!reader.Error().empty()) return Fail(ExitUsage, reader.Error() + L": " + o.database);
        first = false;
    }
    return failed ? ExitSomeFailed : ExitOk;
}

}  // namespace fciv
