#include "options.h"

namespace fciv {

namespace {

std::wstring Lower(std::wstring s) {
    for (auto& c : s)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    return s;
}

bool IsSwitch(const std::wstring& arg) {
    static const wchar_t* known[] = {L"-r", L"-wp", L"-type", L"-md5", L"-sha1", L"-both", L"-xml", L"-h", L"-?"};
    const std::wstring l = Lower(arg);
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
    size_t i = 0;
    if (!IsSwitch(args[0])) o.folder = args[i++];
    bool haveXml = false, haveType = false;
    for (; i < args.size(); ++i) {
        const std::wstring s = Lower(args[i]);
        if (s == L"-h" || s == L"-?") {
            o.help = true;
            return r;
        } else if (s == L"-r") {
            o.recursive = true;
        } else if (s == L"-wp") {
            o.namesOnly = true;
        } else if (s == L"-md5") {
            o.md5 = true;
        } else if (s == L"-sha1") {
            o.sha1 = true;
        } else if (s == L"-both") {
            o.md5 = o.sha1 = true;
        } else if ((s == L"-type" && haveType) || (s == L"-xml" && haveXml)) {
            r.error = L"Параметр задан дважды / switch given twice: " + args[i];
            return r;
        } else if (s == L"-type") {
            // A switch right after -type means an empty mask: every file.
            if (i + 1 < args.size() && !IsSwitch(args[i + 1])) o.mask = args[++i];
            haveType = true;
        } else if (s == L"-xml") {
            if (i + 1 >= args.size() || IsSwitch(args[i + 1]) || args[i + 1].empty()) {
                r.error = L"После -xml нужен путь к базе / -xml needs a database path";
                return r;
            }
            o.database = args[++i];
            haveXml = true;
        } else {
            r.error = L"Неизвестный параметр / unknown switch: " + args[i];
            return r;
        }
    }
    if (o.folder.empty()) r.error = L"Не задана папка / no folder given";
    else if (!haveXml) r.error = L"Не задан -xml / -xml DBPATH is missing";
    if (!o.md5 && !o.sha1) o.md5 = true;
    return r;
}

}  // namespace fciv
