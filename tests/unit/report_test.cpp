#include <gtest/gtest.h>

#include <set>

#include "common/utf8.h"
#include "common/verdicts.h"
#include "logic/results/check_report.h"
#include "logic/results/hash_report.h"
#include "logic/results/report_name.h"

namespace {

std::wstring Report(std::wstring_view db) {
    return results::BuildHashReport(common::ToUtf8(db), [](unsigned long code) { return std::wstring(code == 5 ? L"Доступ запрещён." : code >= 123456789 ? L"nine" : L""); });
}

const std::wstring Banner = L"***************\r\n Нет данных !\r\n***************";
const std::wstring A = L"<FILE_ENTRY><name>C:\\d\\a.txt</name><MD5>M1</MD5><SHA1>S1</SHA1></FILE_ENTRY>";
const std::wstring AReport = L"C:\\d\\a.txt\r\nMD5:M1\r\nSHA1:S1";
const std::wstring Closed = L"<FILE_ERROR><name>C:\\d\\x\\</name><error>5</error></FILE_ERROR>";

TEST(HashReport, ReadsEachEntryWithinItselfOnly) {
    const struct { std::wstring db, report; } cases[] = {
        {L"<?xml version=\"1.0\"?>\r\n<FCIV>\r\n" + A + L"\r\n<FILE_ENTRY><name>b</name><MD5>M2</MD5></FILE_ENTRY></FCIV>",
         AReport + L"\r\nb\r\nMD5:M2"},
        {L"<FILE_ENTRY><name>a</name><SHA1>S1</SHA1></FILE_ENTRY>", L"a\r\nSHA1:S1"},
        {L"<FILE_ENTRY><name>a</name><MD5>m</MD5><SHA256>t</SHA256></FILE_ENTRY>", L"a\r\nMD5:m\r\nSHA256:t"},
        {L"<?xml version=\"1.0\"?><FCIV></FCIV>", Banner},
        {L"<FILE_ENTRY>   </FILE_ENTRY>", Banner},
        // Tags in any case, but otherwise exactly: "<name >" and "<MD5 a=...>" are not tags.
        {L"<file_entry><Name>n</NAME><md5>m</Md5></File_Entry>", L"n\r\nMD5:m"},
        {L"<FILE_ENTRY><name >n</name><MD5 a=\"1\">m</MD5><SHA1>s</SHA1></FILE_ENTRY>", L"\r\nSHA1:s"},
        // Values verbatim but for references and the report's outer blanks.
        {L"<FILE_ENTRY><name>  a b  </name><MD5></MD5><SHA1> s </SHA1></FILE_ENTRY>", L"  a b  \r\nMD5:\r\nSHA1: s "},  // blanks at the ends are a name's own
        {L"<FILE_ENTRY><name>a&amp;b &lt;&gt; &quot;&apos; &#1055;&#x43f; &#x1F600; &#xaf;&#xAF;&#x00000041;&#X41;&#x10FFFF;&#1;</name></FILE_ENTRY>",
         L"a&b <> \"' Пп \xD83D\xDE00 \xAF\xAF" L"AA\xDBFF\xDFFF\x01"},
        {L"<FILE_ENTRY><name>&nbsp; &#; &#x; &#xZZ; &#0; &#xD800; &#xDFFF; &#x000000041; & a;b &</name></FILE_ENTRY>",
         L"&nbsp; &#; &#x; &#xZZ; &#0; &#xD800; &#xDFFF; &#x000000041; & a;b &"},
        {L"<FILE_ENTRY><name>line\r\n\tnext</name></FILE_ENTRY>", L"line\r\n\tnext"},
        // No entry takes another's values.
        {L"<FILE_ENTRY><name>a</name></FILE_ENTRY><MD5>x</MD5><FILE_ENTRY><name>b</name><MD5>m</MD5></FILE_ENTRY>", L"a\r\nb\r\nMD5:m"},
        {L"<FILE_ENTRY><name>a</name><FILE_ENTRY><name>b</name><MD5>m</MD5></FILE_ENTRY>", L"a\r\nb\r\nMD5:m"},
        {L"<FILE_ENTRY><MD5>m1</MD5></FILE_ENTRY><FILE_ENTRY><name>b</name></FILE_ENTRY>", L"\r\nMD5:m1\r\nb"},
        {L"<FILE_ENTRY><name>a</name><SHA1>s</SHA1><MD5>m</MD5></FILE_ENTRY><FILE_ENTRY><name>b</name></FILE_ENTRY>",
         L"a\r\nMD5:m\r\nb"},  // out of order: the pair before one already found is missed
        {L"<FILE_ENTRY><name>a</name><MD5>m1</MD5><FILE_ENTRY><name>b</name><MD5>m2</MD5></FILE_ENTRY>",
         L"a\r\nMD5:m1\r\nb\r\nMD5:m2"},  // no closing tag: the entry ends where the next opens
        // Cut off: what was complete stays.
        {A + L"<FILE_ENTRY><name>b</name><MD5>m2", AReport + L"\r\nb"},
        {A + L"<FILE_ENTRY><name>b", AReport + L"\r\n"},
        {A + L"<FILE_ENTRY><name>b</name>", AReport + L"\r\nb"},  // a tag that ends the text is found
        {L"<FILE_ENTRY><name>a</FILE_ENTRY><FILE_ENTRY><name>b</name></FILE_ENTRY>", Banner},
        // What could not be read ends the report; incomplete elements are passed over.
        {A + L"<FILE_ERROR><name>C:\\d\\l&amp;og</name><error>32</error></FILE_ERROR>" + Closed +
             L"<FILE_ERROR><name>n</name></FILE_ERROR><FILE_ERROR><name>m<error>5</error></FILE_ERROR><FILE_ERROR><error>5</error>",
         AReport + L"\r\n***************\r\nНе прочитано файлов: 2\r\nC:\\d\\l&og\r\nОшибка 32\r\nC:\\d\\x\\\r\nОшибка 5: Доступ запрещён."},
        {L"<FILE_ERROR><name>a</name><error>123456789</error></FILE_ERROR><FILE_ERROR><name>b</name><error>1234567890</error></FILE_ERROR>"
         L"<FILE_ERROR><name>c</name><error>x1</error></FILE_ERROR>",  // a number described only when it is one
         Banner + L"\r\n***************\r\nНе прочитано файлов: 3\r\na\r\nОшибка 123456789: nine\r\nb\r\nОшибка 1234567890\r\nc\r\nОшибка x1"},
        {Closed, Banner + L"\r\n***************\r\nНе прочитано файлов: 1\r\nC:\\d\\x\\\r\nОшибка 5: Доступ запрещён."},
        // An interrupted recording says so last.
        {L"<FCIV>" + A + Closed + L"<INTERRUPTED></INTERRUPTED></FCIV>", AReport + L"\r\n***************\r\nНе прочитано файлов: 1\r\n"
             L"C:\\d\\x\\\r\nОшибка 5: Доступ запрещён.\r\nФормирование прервано: в отчёте не все файлы"},
        {L"<INTERRUPTED></INTERRUPTED>", Banner + L"\r\n***************\r\nФормирование прервано: в отчёте не все файлы"},
    };
    for (const auto& c : cases) EXPECT_EQ(Report(c.db), c.report) << c.db;
    results::Progress progress;  // as the window follows it: a new one does not stop the report
    EXPECT_EQ(results::BuildHashReport(common::ToUtf8(A), [](unsigned long) { return std::wstring(); }, &progress), AReport);
}

// The check report: what is not right first, in the tool's order, then what is, then the summary.
TEST(CheckReport, WhatIsNotRightComesFirst) {
    const auto check = [](std::wstring_view verdicts) {
        return results::BuildCheckReport(verdicts, [](unsigned long code) { return std::wstring(code == 5 ? L"Доступ запрещён." : L""); });
    };
    // Every kind, as the tool writes it and the window reads it.
    namespace v = common::verdicts;
    const struct { v::Kind kind; std::initializer_list<std::wstring_view> fields; } written[] = {
        {v::Right, {L"a"}}, {v::Changed, {L"MD5, SHA1", L"b"}}, {v::Unreadable, {L"5", L"c"}}, {v::Missing, {L"d"}},
        {v::Unsupported, {L"BLAKE2b", L"7", L"e.iso"}}, {v::Untold, {L"SHA512", L"e"}}, {v::Inexact, {L"f\tg\r\n"}},
        {v::Refused, {L"8", L"\\\\host\\x"}}, {v::Error, {L"нет сумм"}}, {v::BadLine, {L"9", L"f.iso"}}, {v::BadLine, {L"10", L""}},
        {v::NotRecorded, {L"5", L"g"}}, {v::BadEntry, {L"12"}}, {v::Incomplete, {}}, {v::Interrupted, {L"3"}},
    };
    std::string verdicts;
    std::set<v::Kind> kinds;
    for (const auto& [kind, fields] : written) {
        const std::string line = v::Write(kind, fields);
        const std::wstring text = common::Utf8Decode(line.substr(0, line.size() - 2));
        const auto read = v::Read(text);
        ASSERT_TRUE(read && read->kind == kind && read->fields.size() == fields.size()) << line;
        EXPECT_EQ(v::Read(text + L"\tmore").has_value(), kind == v::Incomplete) << line;  // a field too many: no verdict
        verdicts += line;
        kinds.insert(kind);
    }
    EXPECT_EQ(kinds.size(), size_t(v::KindCount));
    EXPECT_EQ(check(common::Utf8Decode(verdicts)),
              L"Проверка прервана: не проверено файлов: 3\r\nИЗМЕНЁН (MD5, SHA1): b\r\nНЕ ПРОЧИТАН: c\r\nОшибка 5: Доступ запрещён.\r\n"
              L"НЕТ ФАЙЛА: d\r\nНЕ ПРОВЕРЕН (BLAKE2b): строка 7: e.iso\r\nАЛГОРИТМ НЕ ОПРЕДЕЛЁН (не SHA512): e\r\n"
              L"ИМЯ ЗАПИСАНО НЕТОЧНО: f\xFFFDg\xFFFD\xFFFD\r\nОТКАЗАНО (сетевое имя или устройство): строка 8: \\\\host\\x\r\nПроверка невозможна: нет сумм\r\n"
              L"НЕ РАЗОБРАНА строка 9: f.iso\r\nНЕ РАЗОБРАНА строка 10\r\nНЕ ЗАПИСАН: g\r\nОшибка 5: Доступ запрещён.\r\n"
              L"ЗАПИСЬ БЕЗ ИМЕНИ ИЛИ ХЭША: строка 12\r\nБаза неполная: формирование было прервано\r\nВЕРНО: a\r\n***************\r\n"
              L"Верно: 1, изменено: 1, нет файла: 1, не прочитано: 1, строк не разобрано: 2\r\nПроверка прервана");
    // All right only when every line was checked and right; a line the window does not know is no exception.
    const std::wstring summary = L"\r\n***************\r\nВерно: 1, изменено: 0, нет файла: 0, не прочитано: 0";
    EXPECT_EQ(check(L"RIGHT\ta\r\n\r\n"), L"Все файлы верны: 1\r\nВЕРНО: a" + summary);
    EXPECT_EQ(check(L"\r\n"), L"***************\r\nВерно: 0, изменено: 0, нет файла: 0, не прочитано: 0");  // nothing checked: not all right
    EXPECT_EQ(check(L"RIGHT\ta\r\nINTERRUPTED"), L"Проверка прервана\r\nВЕРНО: a" + summary + L"\r\nПроверка прервана");
    EXPECT_TRUE(check(L"RIGHT\ta\r\nINTERRUPTED\r\nINTERRUPTED\t7\r\n").starts_with(L"Проверка прервана: не проверено файлов: 7\r\nВЕРНО"));
    EXPECT_EQ(check(L"RIGHT\ta\r\nBAD_LINE\t3\tb"), L"НЕ РАЗОБРАНА строка 3: b\r\nВЕРНО: a" + summary + L", строк не разобрано: 1");
    EXPECT_EQ(check(L"RIGHT\tx\tand tab\r\nNEW\tkind\r\nRIGHT\ta"),
              L"НЕПОНЯТНЫЙ ИТОГ: RIGHT\tx\tand tab\r\nНЕПОНЯТНЫЙ ИТОГ: NEW\tkind\r\nВЕРНО: a" + summary);
}

// Named after the date and the time (hour, minute and second unpadded); taken names get " (N)".
TEST(ReportName, MonthDayYearThenTheTimeUnpadded) {
    EXPECT_EQ(results::ReportFileName(results::ReportBaseName({2026, 12, 6, 9, 5, 3}), 1), L"hash_12-06-2026_953.txt");
    EXPECT_EQ(results::ReportFileName(results::ReportBaseName({987, 1, 10, 23, 59, 10}), 2), L"hash_01-10-0987_235910 (2).txt");
}

TEST(Utf8, EveryFormAtItsBoundariesAndMalformedInputNeverSwallowsWhatFollows) {
    const std::wstring R = L"\xFFFD";
    const struct { std::string in; std::wstring out; } cases[] = {
        {std::string("a\0\x7F\r\n", 5), std::wstring(L"a\0\x7F\r\n", 5)},
        {"\xD0\x9F\xD1\x80\xE2\x82\xAC\xC2\x80\xEF\xBF\xBF", L"\x041F\x0440\x20AC\x0080\xFFFF"},
        {"\xED\xA0\x80", std::wstring(1, L'\xD800')},  // a lone surrogate survives
        {"\xF0\x9F\x98\x80<\xF4\x8F\xBF\xBF<\xF0\x90\x80\x80", L"\xD83D\xDE00<\xDBFF\xDFFF<\xD800\xDC00"},
        {"\x80" "A\xBF", R + L"A" + R},                     // stray continuation bytes
        {"\xD0" "A\xE2\x82<", R + L"A" + R + L"<"},        // cut short by an ASCII byte
        {"x\xF0\x9F\x98", L"x" + R},                         // cut short by the end
        {"\xD0\xD0\x9F", R + L"\x041F"},                     // a lead byte ends the sequence before it
        {"\xC2\x80\x80", L"\x80" + R},                        // a sequence takes no more than its length
        {"\xC0\x80|\xE0\x80\xAF|\xF0\x82\x82\xAC|\xF4\x90\x80\x80", R + L"|" + R + L"|" + R + L"|" + R},  // overlong, too large
        {"\xF8\x88\x80\x80\x80\xFF</", R + R + R + R + R + R + L"</"},
    };
    for (const auto& c : cases) EXPECT_EQ(common::Utf8Decode(c.in), c.out);
    // Encoded at each boundary of its forms; a lone surrogate as U+FFFD.
    const struct { std::wstring in; std::string out; } encoded[] = {
        {L"\x7F\x80\x7FF\x800", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80"}, {L"\xD7FF\xE000\xFFFF", "\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"},
        {L"\xD800\xDC00\xDBFF\xDFFF", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"}, {std::wstring(L"\xD800x\xDFFF") + L'\xDBFF', "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& c : encoded) EXPECT_EQ(common::ToUtf8(c.in), c.out);
}

}  // namespace
