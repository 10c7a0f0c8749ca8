// -list: a database's entries as sums lines.
#include <windows.h>

#include <algorithm>

#include "common/paths.h"
#include "common/sums.h"
#include "common/utf8.h"
#include "fciv/core/names.h"
#include "fciv/database_reader.h"
#include "fciv/engine/console.h"
#include "fciv/files.h"
#include "fciv/modes.h"

namespace fciv {

namespace {

// A recorded name as a sums line names it: relative to `folder` when under it, relative names as they are, with '/'.
std::wstring SumsName(const std::wstring& name, const std::wstring& folder) {
    const int n = static_cast<int>(folder.size());
    const bool under = !folder.empty() && name.size() > folder.size() &&
                       CompareStringOrdinal(name.c_str(), n, folder.c_str(), n, TRUE) == CSTR_EQUAL;
    if (!under && IsFullPath(name)) return name;
    std::wstring relative = under ? name.substr(folder.size()) : name;
    for (auto& c : relative)
        if (c == L'\\') c = L'/';
    return relative;
}

}  // namespace

int List(const Options& o) {
    std::wstring folder;
    if (!o.folder.empty()) {
        folder = ExistingFolder(o.folder);
        if (folder.empty()) return Fail(common::ExitUsage, L"Папка не найдена / folder not found: " + o.folder);
        folder = common::WithBackslash(std::move(folder));
    }
    bool failed = false, first = true, interrupted = false;  // the first pass warns
    const bool chosen = std::find(o.hashes.begin(), o.hashes.end(), true) != o.hashes.end();
    common::Algorithms seen{};  // in the first pass: the others are read again only for what the database holds
    for (int a = 0; a < common::RecordedCount; ++a) {
        if (chosen ? !o.hashes[a] : !first && !seen[a]) continue;
        DatabaseReader reader(o.database);
        std::wstring out;
        size_t lacking = 0;
        for (DatabaseItem item; reader.Next(item);) {
            const std::string& hex = item.hashes[a];
            for (int b = 0; b < common::RecordedCount; ++b) seen[b] = seen[b] || !item.hashes[b].empty();
            if (item.kind == DatabaseItem::File && !hex.empty()) out += SumsLine(hex, SumsName(item.name, folder));
            else if (item.kind == DatabaseItem::File) ++lacking;
            else if (first) failed = true, interrupted = interrupted || item.kind == DatabaseItem::Interrupted, Warn(NotAFile(item));
            if (out.size() >= 32768) Print(Stream::Out, out), out.clear();
        }
        Print(Stream::Out, out);
        if (!reader.Error().empty()) return Fail(common::ExitUsage, reader.Error() + L": " + o.database);
        first = false;
        // Asked for by name, a hash the database lacks is no success.
        const std::wstring name = common::Utf8Decode(common::AlgorithmNames[a]);
        if (chosen && lacking)
            failed = true, Warn(L"Записей без " + name + L" (не выведены) / entries without " + name + L" (not listed): " + std::to_wstring(lacking));
    }
    // The list is no whole one: it says so, as a sums file recorded by an interrupted run does.
    if (interrupted) Print(Stream::Out, common::Utf8Decode(common::SumsInterrupted) + L"\r\n");
    return failed ? common::ExitSomeFailed : common::ExitOk;
}

}  // namespace fciv
