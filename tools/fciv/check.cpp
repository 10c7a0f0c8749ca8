#include <windows.h>

#include <chrono>

#include "common/utf8.h"
#include "console.h"
#include "database_reader.h"
#include "modes.h"
#include "pipeline.h"
#include "sums.h"
#include "walker.h"

namespace fciv {

namespace {

struct Expected {
    std::wstring name;  // as the database or sums file writes it
    FileHashes hex;     // the hashes to compare with; empty where none
};

void WarnBadEntries(const RecordedDatabase& db) {
    for (size_t line : db.badEntries) Warn(L"Запись без имени или хэша, строка / entry without a name or hash, line " + std::to_wstring(line));
}

bool IsAbsolute(const std::wstring& name) {
    return name.starts_with(L"\\") || (name.size() >= 3 && name[1] == L':' && name[2] == L'\\');
}

// The expected hashes and where names are found; an error text when the list cannot be read.
std::wstring ReadExpected(const Options& o, std::vector<Expected>& expected, std::wstring& base, size_t& bad) {
    if (!o.database.empty()) {
        const RecordedDatabase db = ReadDatabase(o.database);
        if (!db.error.empty()) return db.error;
        for (const RecordedFile& f : db.entries) expected.push_back({f.name, {f.md5, f.sha1, {}, {}}});
        WarnBadEntries(db);
        bad = db.badEntries.size();
        base = o.folder.empty() ? FullPath(L".") : FullPath(o.folder);
        return {};
    }
    std::string bytes;
    if (const unsigned long error = ReadWholeFile(o.sums, bytes)) return L"не прочитать / cannot read " + Reason(error);
    if (bytes.empty()) return L"файл пуст / the file is empty";
    const SumsFile sums = ParseSums(bytes);
    for (size_t line : sums.badLines) Warn(L"Не строка сумм, строка / not a sums line, line " + std::to_wstring(line));
    bad = sums.badLines.size();
    if (sums.entries.empty()) return L"нет ни одной суммы / no sums in the file";
    for (const SumEntry& e : sums.entries) {
        std::wstring name = common::Utf8Decode(e.name);
        for (auto& c : name)
            if (c == L'/') c = L'\\';
        Expected x{name, {}};
        x.hex[e.algorithm] = e.hex;
        expected.push_back(std::move(x));
    }
    const std::wstring full = FullPath(o.sums);
    base = o.folder.empty() ? full.substr(0, full.find_last_of(L'\\')) : FullPath(o.folder);
    return {};
}

}  // namespace

int Check(const Options& o, std::atomic<bool>& stop) {
    std::vector<Expected> expected;
    std::wstring base;
    size_t bad = 0;
    if (const std::wstring error = ReadExpected(o, expected, base, bad); !error.empty())
        return Fail(ExitUsage, error + L": " + (o.database.empty() ? o.sums : o.database));

    const auto started = std::chrono::steady_clock::now();
    std::vector<Job> jobs;
    jobs.reserve(expected.size());
    for (const Expected& x : expected) {
        Job job{FullPath(IsAbsolute(x.name) ? x.name : (base.back() == L'\\' ? base : base + L'\\') + x.name), {}, 0};
        for (int a = 0; a < AlgorithmCount; ++a) job.algorithms[a] = !x.hex[a].empty();
        jobs.push_back(std::move(job));
    }
    size_t right = 0, changed = 0, missing = 0, unreadable = 0;
    HashInOrder(jobs, OnRotatingDisk(base), stop, [&](size_t i, const Result& r) {
        const std::wstring& name = expected[i].name;
        if (r.error == ERROR_FILE_NOT_FOUND || r.error == ERROR_PATH_NOT_FOUND) {
            ++missing;
            Say(L"НЕТ ФАЙЛА / MISSING: " + name);
        } else if (r.error) {
            ++unreadable;
            Say(L"НЕ ПРОЧИТАН / UNREADABLE: " + name + L" " + Reason(r.error));
        } else {
            std::wstring differ;
            for (int a = 0; a < AlgorithmCount; ++a)
                if (!expected[i].hex[a].empty() && expected[i].hex[a] != r.hashes[a])
                    differ += (differ.empty() ? L"" : L", ") + std::wstring(AlgorithmNames[a].begin(), AlgorithmNames[a].end());
            if (differ.empty()) ++right;
            else ++changed, Say(L"ИЗМЕНЁН / CHANGED (" + differ + L"): " + name);
        }
    });
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    wchar_t summary[300];
    swprintf(summary, 300,
             L"Верно / right: %zu, изменено / changed: %zu, нет / missing: %zu, не прочитано / unreadable: %zu, "
             L"плохих строк / bad lines: %zu, секунд / seconds: %.2f",
             right, changed, missing, unreadable, bad, secs);
    Say(summary);
    if (stop) return ExitInterrupted;
    return changed || missing || unreadable || bad ? ExitSomeFailed : ExitOk;
}

int List(const Options& o) {
    const RecordedDatabase db = ReadDatabase(o.database);
    if (!db.error.empty()) return Fail(ExitUsage, db.error + L": " + o.database);
    const bool both = o.md5 == o.sha1;
    std::wstring out;
    for (const bool sha1 : {false, true}) {
        if (!both && sha1 != o.sha1) continue;
        for (const RecordedFile& f : db.entries) {
            const std::string& hex = sha1 ? f.sha1 : f.md5;
            if (!hex.empty()) out += std::wstring(hex.begin(), hex.end()) + L"  " + f.name + L"\r\n";
        }
    }
    Print(Stream::Out, out);
    WarnBadEntries(db);
    return db.badEntries.empty() ? ExitOk : ExitSomeFailed;
}

}  // namespace fciv
