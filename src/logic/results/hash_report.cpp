#include "logic/results/hash_report.h"

#include <algorithm>
#include <array>

#include "common/database_format.h"
#include "common/report_format.h"
#include "common/text.h"
#include "common/utf8.h"
#include "logic/texts.h"

namespace results {

namespace {

struct TagPair {
    std::wstring_view open, close;
    std::string_view label;
};

namespace db = common::database;
constexpr std::wstring_view EntryOpen = db::Entry.open, EntryClose = db::Entry.close;
constexpr std::wstring_view ErrorOpen = db::Unread.open, ErrorClose = db::Unread.close;
constexpr TagPair ErrorName{db::Name.open, db::Name.close, ""};
constexpr TagPair ErrorCode{db::Error.open, db::Error.close, ""};
namespace labels = common::report;
constexpr std::array<TagPair, 4> Rows{{
    {db::Name.open, db::Name.close, ""},
    {db::Md5.open, db::Md5.close, labels::HashLabels[common::Md5]},
    {db::Sha1.open, db::Sha1.close, labels::HashLabels[common::Sha1]},
    {db::Sha256.open, db::Sha256.close, labels::HashLabels[common::Sha256]},
}};
constexpr size_t None = std::wstring_view::npos;

// The database is scanned as UTF-8 bytes: its tags are ASCII, and no byte of a character
// beyond ASCII is an ASCII one, so the tags are where its decoded text has them.
bool TagAt(std::string_view text, size_t pos, std::wstring_view tag) {
    if (text.size() - pos < tag.size()) return false;
    for (size_t k = 0; k < tag.size(); ++k)
        if (common::AsciiLower(static_cast<wchar_t>(static_cast<unsigned char>(text[pos + k]))) != common::AsciiLower(tag[k]))
            return false;
    return true;
}

// First occurrence of tag (ASCII letters in any case) in [from, limit).
size_t Find(std::string_view text, std::wstring_view tag, size_t from, size_t limit) {
    limit = std::min(limit, text.size());
    while (from < limit) {
        from = text.find('<', from);
        if (from == None || from >= limit) return None;
        if (from + tag.size() <= limit && TagAt(text, from, tag)) return from;
        ++from;
    }
    return None;
}

bool ParseNumber(std::wstring_view digits, int base, char32_t& value) {
    if (digits.empty() || digits.size() > 8) return false;
    value = 0;
    for (wchar_t c : digits) {
        int d;
        if (c >= L'0' && c <= L'9') d = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f') d = c - L'a' + 10;
        else if (base == 16 && c >= L'A' && c <= L'F') d = c - L'A' + 10;
        else return false;
        value = value * base + d;
    }
    return value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

// Appends the character a reference body ("amp", "#1055", "#x41F") stands for.
bool AppendReference(std::wstring_view body, std::wstring& out) {
    static constexpr std::pair<std::wstring_view, wchar_t> Named[] = {
        {L"amp", L'&'}, {L"lt", L'<'}, {L"gt", L'>'}, {L"quot", L'"'}, {L"apos", L'\''}};
    for (const auto& [name, c] : Named) {
        if (body == name) {
            out.push_back(c);
            return true;
        }
    }
    if (body.size() < 2 || body[0] != L'#') return false;
    char32_t cp;
    const bool hex = body[1] == L'x' || body[1] == L'X';
    if (!ParseNumber(body.substr(hex ? 2 : 1), hex ? 16 : 10, cp)) return false;
    common::AppendUtf16(out, cp);
    return true;
}

// The value between a pair of tags in [from, limit); false when it is not there.
bool ValueIn(std::string_view text, const TagPair& pair, size_t from, size_t limit, std::wstring& value) {
    const size_t b = Find(text, pair.open, from, limit);
    if (b == None) return false;
    const size_t s = b + pair.open.size();
    const size_t e = Find(text, pair.close, s, limit);
    if (e == None) return false;
    value = common::Utf8Decode(text.substr(s, e - s));
    return true;
}

// "Не прочитано файлов: N", then per file or folder its name and its error;
// last, the line saying the tool was interrupted.
std::wstring FailureBlock(std::string_view text, DescribeError describe) {
    std::wstring lines;
    int count = 0;
    for (size_t p = Find(text, ErrorOpen, 0, None); p != None;) {
        const size_t close = Find(text, ErrorClose, p, None);
        const size_t end = close != None ? close : text.size();
        std::wstring name, code;
        if (ValueIn(text, ErrorName, p, end, name) && ValueIn(text, ErrorCode, p, end, code)) {
            ++count;
            lines += L"\r\n" + ResolveReferences(name) + L"\r\n" + ErrorLine(code, describe);
        }
        p = close == None ? None : Find(text, ErrorOpen, close, None);
    }
    if (Find(text, db::Interrupted.open, 0, None) != None) lines += std::wstring(L"\r\n") + texts::InterruptedLine;
    if (count) lines = L"\r\n" + (texts::UnreadCount + std::to_wstring(count)) + lines;
    return lines.empty() ? L"" : texts::UnreadRule + lines;
}

}  // namespace

std::wstring ErrorLine(std::wstring_view number, DescribeError describe) {
    const bool digits = !number.empty() && number.size() <= 9 && number.find_first_not_of(L"0123456789") == None;
    const std::wstring words = digits ? describe(std::stoul(std::wstring(number))) : L"";
    return texts::UnreadError + std::wstring(number) + (words.empty() ? L"" : L": " + words);
}

std::wstring ResolveReferences(std::wstring_view value) {
    std::wstring out;
    out.reserve(value.size());
    size_t i = 0;
    while (i < value.size()) {
        const size_t amp = value.find(L'&', i);
        if (amp == None) break;
        out.append(value.substr(i, amp - i));
        const size_t semi = value.find(L';', amp + 1);
        if (semi != None && semi - amp <= 12 && AppendReference(value.substr(amp + 1, semi - amp - 1), out)) {
            i = semi + 1;
        } else {
            out.push_back(L'&');
            i = amp + 1;
        }
    }
    if (i < value.size()) out.append(value.substr(i));
    return out;
}

std::wstring BuildHashReport(std::string_view text, DescribeError describe, Progress* progress) {
    std::wstring report;
    report.reserve(text.size());  // never more letters than the database has bytes; pages not written are not taken
    size_t search = 0;
    for (size_t entries = 0;; ++entries) {
        if (progress && entries % 4096 == 0) {
            if (progress->stop) return {};
            progress->percent = static_cast<int>(search * 100 / std::max<size_t>(text.size(), 1));
        }
        const size_t p = Find(text, EntryOpen, search, None);
        if (p == None) break;
        const size_t inside = p + EntryOpen.size();
        // The entry ends at its own closing tag, or else where the next one opens.
        const size_t next = Find(text, EntryOpen, inside, None);
        const size_t close = Find(text, EntryClose, inside, next);
        const size_t end = close != None ? close : next != None ? next : text.size();
        if (!report.empty()) report += L"\r\n";
        size_t current = inside;
        for (const TagPair& row : Rows) {
            const size_t b = Find(text, row.open, current, end);
            if (b == None) continue;
            const size_t s = b + row.open.size();
            const size_t e = Find(text, row.close, s, end);
            if (e == None) {
                search = None;
                break;
            }
            if (!row.label.empty()) {
                report += L"\r\n";
                report.append(row.label.begin(), row.label.end());
            }
            report += ResolveReferences(common::Utf8Decode(text.substr(s, e - s)));
            current = e + row.open.size();
        }
        if (search == None) break;
        if (close != None) search = close + EntryClose.size();
        else if (next != None) search = next;
        else break;
    }
    // Blanks at the report's ends are a name's own (" leading.txt"): kept. A report of blanks alone holds no data.
    if (report.find_first_not_of(L' ') == None) report = texts::NoDataBanner;
    const std::wstring failures = FailureBlock(text, describe);
    if (!failures.empty()) report.append(L"\r\n").append(failures);
    return report;
}

}  // namespace results
