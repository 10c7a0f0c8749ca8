#include <gtest/gtest.h>

#include "results/hash_report.h"
#include "results/report_name.h"

namespace {

std::wstring Describe(unsigned long code) { return code == 5 ? L"Доступ запрещён." : L""; }
std::wstring Report(std::wstring_view db) { return results::BuildHashReport(db, Describe); }

const std::wstring Banner = L"***************\r\n Нет данных !\r\n***************";

std::wstring Lines(std::initializer_list<std::wstring> lines) {
    std::wstring out;
    bool first = true;
    for (const auto& l : lines) {
        out += (first ? L"" : L"\r\n") + l;
        first = false;
    }
    return out;
}

const std::wstring A = L"<FILE_ENTRY><name>C:\\data\\a.txt</name><MD5>M1</MD5><SHA1>S1</SHA1></FILE_ENTRY>";
const std::wstring B = L"<FILE_ENTRY><name>C:\\data\\sub\\b.txt</name><MD5>M2</MD5><SHA1>S2</SHA1></FILE_ENTRY>";

TEST(HashReport, WorkedExamples) {
    const struct {
        std::wstring db, report;
    } cases[] = {
        {L"<?xml version=\"1.0\"?>\r\n<FCIV>\r\n" + A + L"\r\n" + B + L"\r\n</FCIV>",
         Lines({L"C:\\data\\a.txt", L"MD5:M1", L"SHA1:S1", L"C:\\data\\sub\\b.txt", L"MD5:M2", L"SHA1:S2"})},
        {L"<FILE_ENTRY><name>C:\\data\\a.txt</name><MD5>M1</MD5></FILE_ENTRY>"
         L"<FILE_ENTRY><name>C:\\data\\sub\\b.txt</name><MD5>M2</MD5></FILE_ENTRY>",
         Lines({L"C:\\data\\a.txt", L"MD5:M1", L"C:\\data\\sub\\b.txt", L"MD5:M2"})},
        {L"<FILE_ENTRY><name>C:\\data\\a.txt</name><SHA1>S1</SHA1></FILE_ENTRY>\n"
         L"<FILE_ENTRY><name>C:\\data\\sub\\b.txt</name><SHA1>S2</SHA1></FILE_ENTRY>",
         Lines({L"C:\\data\\a.txt", L"SHA1:S1", L"C:\\data\\sub\\b.txt", L"SHA1:S2"})},
        {L"<?xml version=\"1.0\"?><FCIV></FCIV>", Banner},
        {L"", Banner},
        {L"<FILE_ENTRY>   </FILE_ENTRY>", Banner},
    };
    for (const auto& c : cases) EXPECT_EQ(Report(c.db), c.report) << c.db;
}

TEST(HashReport, WhatCouldNotBeReadEndsTheReport) {
    const std::wstring lockedFile = L"<FILE_ERROR><name>C:\\data\\l&amp;og.txt</name><error>32</error></FILE_ERROR>";
    const std::wstring closedFolder = L"<FILE_ERROR><name>C:\\data\\x\\</name><error>5</error></FILE_ERROR>";
    const struct {
        std::wstring db, report;
    } cases[] = {
        {A + lockedFile + L"\r\n" + B + closedFolder,
         Lines({L"C:\\data\\a.txt", L"MD5:M1", L"SHA1:S1", L"C:\\data\\sub\\b.txt", L"MD5:M2", L"SHA1:S2",
                L"***************", L"Не прочитано файлов: 2", L"C:\\data\\l&og.txt", L"Ошибка 32",
                L"C:\\data\\x\\", L"Ошибка 5: Доступ запрещён."})},
        {L"<FCIV>" + closedFolder + L"</FCIV>",
         Banner + L"\r\n" + Lines({L"***************", L"Не прочитано файлов: 1", L"C:\\data\\x\\", L"Ошибка 5: Доступ запрещён."})},
        // Incomplete elements are passed over.
        {A + L"<FILE_ERROR><name>n</name></FILE_ERROR><FILE_ERROR><error>5</error>",
         Lines({L"C:\\data\\a.txt", L"MD5:M1", L"SHA1:S1"})},
    };
    for (const auto& c : cases) EXPECT_EQ(Report(c.db), c.report) << c.db;
}

TEST(HashReport, TagsMatchInAnyCaseButOtherwiseExactly) {
    EXPECT_EQ(Report(L"<file_entry><Name>n</NAME><md5>m</Md5></File_Entry>"), Lines({L"n", L"MD5:m"}));
    EXPECT_EQ(Report(L"<FILE_ENTRY><name >n</name><MD5 a=\"1\">m</MD5><SHA1>s</SHA1></FILE_ENTRY>"),
              L"\r\nSHA1:s");
}

TEST(HashReport, ValuesAreVerbatimButForReferencesAndOuterSpaces) {
    EXPECT_EQ(Report(L"<FILE_ENTRY><name>  a b  </name><MD5></MD5><SHA1> s </SHA1></FILE_ENTRY>"),
              Lines({L"a b  ", L"MD5:", L"SHA1: s"}));
    EXPECT_EQ(Report(L"<FILE_ENTRY><name>a&amp;b &lt;&gt; &quot;&apos; &#1055;&#x43f; &#x1F600;</name>"
                              L"</FILE_ENTRY>"),
              L"a&b <> \"' Пп \xD83D\xDE00");
    // Anything else that looks like a reference stays as written.
    EXPECT_EQ(Report(L"<FILE_ENTRY><name>&nbsp; &#; &#xZZ; &#0; &#xD800; & a;b &</name></FILE_ENTRY>"),
              L"&nbsp; &#; &#xZZ; &#0; &#xD800; & a;b &");
    EXPECT_EQ(Report(L"<FILE_ENTRY><name>line\r\n\tnext</name></FILE_ENTRY>"), L"line\r\n\tnext");
}

TEST(HashReport, AnEntryNeverTakesAnotherEntrysValues) {
    const struct {
        std::wstring db, report;
    } cases[] = {
        // An entry without a hash keeps its own lines; the next keeps its own.
        {L"<FILE_ENTRY><name>a</name></FILE_ENTRY><FILE_ENTRY><name>b</name><MD5>m</MD5></FILE_ENTRY>",
         Lines({L"a", L"b", L"MD5:m"})},
        // An entry without a name: only its hash lines, and the report opens with an empty line.
        {L"<FILE_ENTRY><MD5>m1</MD5></FILE_ENTRY><FILE_ENTRY><name>b</name><MD5>m2</MD5></FILE_ENTRY>",
         Lines({L"", L"MD5:m1", L"b", L"MD5:m2"})},
        // An empty entry between two adds only its line end.
        {L"<FILE_ENTRY><name>a</name></FILE_ENTRY><FILE_ENTRY></FILE_ENTRY><FILE_ENTRY><name>b</name></FILE_ENTRY>",
         Lines({L"a", L"", L"b"})},
        {L"<FILE_ENTRY><name>a</name></FILE_ENTRY><FILE_ENTRY></FILE_ENTRY>", L"a\r\n"},
        // Out of order: the pair before one already found is missed, within the entry only.
        {L"<FILE_ENTRY><name>a</name><SHA1>s</SHA1><MD5>m</MD5></FILE_ENTRY><FILE_ENTRY><name>b</name></FILE_ENTRY>",
         Lines({L"a", L"MD5:m", L"b"})},
        // An entry whose closing tag is missing ends where the next one opens.
        {L"<FILE_ENTRY><name>a</name><MD5>m1</MD5><FILE_ENTRY><name>b</name><MD5>m2</MD5></FILE_ENTRY>",
         Lines({L"a", L"MD5:m1", L"b", L"MD5:m2"})},
    };
    for (const auto& c : cases) EXPECT_EQ(Report(c.db), c.report) << c.db;
}

TEST(HashReport, CutOffDatabasesKeepWhatWasComplete) {
    // Ends after the last values but before its closing tag.
    EXPECT_EQ(Report(A + L"<FILE_ENTRY><name>b</name><MD5>m2</MD5>"),
              Lines({L"C:\\data\\a.txt", L"MD5:M1", L"SHA1:S1", L"b", L"MD5:m2"}));
    // Ends inside a value: the entry's line end and its complete values stay.
    EXPECT_EQ(Report(A + L"<FILE_ENTRY><name>b</name><MD5>m2"),
              Lines({L"C:\\data\\a.txt", L"MD5:M1", L"SHA1:S1", L"b"}));
    EXPECT_EQ(Report(A + L"<FILE_ENTRY><name>b"), Lines({L"C:\\data\\a.txt", L"MD5:M1", L"SHA1:S1", L""}));
    // A value's closing tag that only a later entry has is not found: the scan ends.
    EXPECT_EQ(Report(L"<FILE_ENTRY><name>a</FILE_ENTRY><FILE_ENTRY><name>b</name></FILE_ENTRY>"), Banner);
}

TEST(ReportName, MonthDayYearThenTimeWithoutLeadingZeros) {
    using results::DateTime;
    const struct {
        DateTime t;
        const wchar_t* name;
    } cases[] = {
        {{2026, 12, 6, 9, 5, 3}, L"hash_12-06-2026_953"},
        {{2026, 12, 6, 14, 30, 27}, L"hash_12-06-2026_143027"},
        {{2026, 12, 6, 0, 0, 0}, L"hash_12-06-2026_000"},
        {{2027, 1, 9, 23, 59, 59}, L"hash_01-09-2027_235959"},
    };
    for (const auto& c : cases) EXPECT_EQ(results::ReportBaseName(c.t), c.name);
    // 01:15:03 and 11:05:03 share a name; later reports get a number instead of overwriting.
    EXPECT_EQ(results::ReportBaseName({2026, 12, 6, 1, 15, 3}), results::ReportBaseName({2026, 12, 6, 11, 5, 3}));
    EXPECT_EQ(results::ReportFileName(L"hash_12-06-2026_1153", 1), L"hash_12-06-2026_1153.txt");
    EXPECT_EQ(results::ReportFileName(L"hash_12-06-2026_1153", 3), L"hash_12-06-2026_1153 (3).txt");
}

}  // namespace
