#include <algorithm>

#include "common/sums.h"
#include "common/text.h"
#include "common/utf8.h"
#include "fciv/core/options.h"

namespace fciv {

namespace {

bool IsSwitch(const std::wstring& arg) {
    static const wchar_t* known[] = {L"-r",   L"-wp", L"-type", L"-md5", L"-sha1", L"-both", L"-sha256",
                                     L"-xml", L"-v",  L"-sums", L"-list", L"-h",   L"-?",
                                     L"-ignoremissing", L"-strict", L"-status", L"-verdicts", L"/?"};
    const std::wstring l = common::AsciiLower(std::wstring_view(arg));
    for (const wchar_t* k : known)
        if (l == k) return true;
    return false;
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::wstring>& args) {
    ParseResult r;
    Options& o = r.options;
    if (args.empty()) {
        o.help = true;
        return r;
    }
    std::vector<std::wstring> positional;
    bool haveType = false, haveMode = false;
    std::wstring checkOnly;  // a switch of checking alone
    const auto fail = [&](const std::wstring& text) {
        r.error = text;
        return r;
    };
    // The value after a switch: empty when none follows.
    const auto value = [&](size_t& i) { return i + 1 < args.size() && !IsSwitch(args[i + 1]) ? args[++i] : std::wstring(); };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring s = common::AsciiLower(std::wstring_view(args[i]));
        if (!IsSwitch(args[i]) && args[i].starts_with(L"-")) {
            return fail(L"Неизвестный параметр / unknown switch: " + args[i]);
        } else if (!IsSwitch(args[i])) {
            positional.push_back(args[i]);
        } else if (s == L"-h" || s == L"-?" || s == L"/?") {
            o.help = true;
            return r;
        } else if (s == L"-r") {
            o.recursive = true;
        } else if (s == L"-wp") {
            o.namesOnly = true;
        } else if (s == L"-md5" || s == L"-both") {
            o.hashes[common::Md5] = true;
            o.hashes[common::Sha1] = o.hashes[common::Sha1] || s == L"-both";
        } else if (s == L"-sha1" || s == L"-sha256") {
            o.hashes[s == L"-sha1" ? common::Sha1 : common::Sha256] = true;
        } else if (s == L"-ignoremissing" || s == L"-strict" || s == L"-status") {
            (s == L"-strict" ? o.strict : s == L"-status" ? o.status : o.ignoreMissing) = true;
            checkOnly = args[i];
        } else if ((s == L"-type" && haveType) || (s == L"-xml" && !o.database.empty()) || (s == L"-sums" && !o.sums.empty()) ||
                   (s == L"-verdicts" && !o.verdicts.empty()) ||
                   ((s == L"-v" || s == L"-list") && haveMode)) {
            return fail(L"Параметр задан дважды / switch given twice: " + args[i]);
        } else if (s == L"-v" || s == L"-list") {
            o.mode = s == L"-v" ? Mode::Check : Mode::List;
            haveMode = true;
        } else if (s == L"-type") {
            o.mask = value(i);  // none: an empty mask, every file
            haveType = true;
        } else if (s == L"-xml" || s == L"-sums" || s == L"-verdicts") {
            std::wstring& path = s == L"-xml" ? o.database : s == L"-sums" ? o.sums : o.verdicts;
            if ((path = value(i)).empty()) return fail(L"После " + s + L" нужен путь к файлу / " + s + L" needs a file path");
            if (s == L"-verdicts") checkOnly = args[i - 1];
        }
    }
    if (positional.size() > 1) return fail(L"Лишний параметр / unexpected argument: " + positional[1]);
    if (!positional.empty()) o.folder = positional[0];
    const bool oneSource = o.database.empty() != o.sums.empty();
    // An empty FOLDER ("$COPY" unset) is no folder: never the default in its place.
    if ((o.mode == Mode::Record || !positional.empty()) && o.folder.empty()) return fail(L"Не задана папка / no folder given");
    if (o.mode == Mode::List && !o.sums.empty()) return fail(L"-sums не с -list / -sums does not go with -list");
    if (o.database.empty() && o.sums.empty()) return fail(L"Не задан -xml / -xml DBPATH is missing");
    if (o.mode != Mode::List && !oneSource)
        return fail(L"Нужен один из -xml и -sums / one of -xml and -sums is needed, not both");
    if (o.mode != Mode::Check && !checkOnly.empty()) return fail(checkOnly + L" только с -v / " + checkOnly + L" goes with -v");
    const auto asked = std::count(o.hashes.begin(), o.hashes.end(), true);
    // A check takes the hashes its list holds: a switch that seems to choose among them would be ignored.
    if (o.mode == Mode::Check && asked) return fail(L"-md5, -sha1, -both, -sha256 не с -v / hash switches do not go with -v");
    if (o.mode == Mode::Record && !o.sums.empty()) {
        // A sums file holds one algorithm: the one asked for, else the one its name tells, else MD5; never one its name denies.
        const common::NamedAlgorithm named = common::AlgorithmOfFileName(common::ToUtf8(o.sums));
        if (asked > 1)
            return fail(L"-sums пишет суммы одного алгоритма: -md5, -sha1 или -sha256 / -sums writes one algorithm's sums: -md5, -sha1 or -sha256");
        if (asked == 0) o.hashes[named.known < common::RecordedCount ? named.known : common::Md5] = true;
        if (!named.name.empty() && (named.known >= common::RecordedCount || !o.hashes[named.known])) {
            const std::wstring algorithm(named.name.begin(), named.name.end());
            return fail(L"Имя файла сумм говорит о другом алгоритме (" + algorithm + L") / the sums file's name says " + algorithm +
                        L", not the algorithm asked for: " + o.sums);
        }
    }
    if (o.mode == Mode::Record && asked == 0 && o.sums.empty()) o.hashes[common::Md5] = true;
    return r;
}

}  // namespace fciv
