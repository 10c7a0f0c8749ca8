#include <gtest/gtest.h>

#include <tuple>

#include "common/mask.h"
#include "common/sums.h"
#include "common/text.h"
#include "common/utf8.h"
#include "fciv/core/names.h"
#include "fciv/core/options.h"
#include "fciv/core/xml_writer.h"
#include "logic/results/hash_report.h"

namespace {

using namespace fciv;
using namespace common;

TEST(Mask, WindowsWildcardsInAnyCase) {
    const struct { const wchar_t *mask, *name; bool match; } cases[] = {
        {L"", L"anything", true},   {L"*.*", L"noext", true},   {L"*.txt", L"READ.TXT", true},   {L"*.txt", L"a.txt.bak", false}, {L"*.txt", L"a.t", false},
        {L"?.md", L"c.md", true},   {L"?.md", L"cc.md", false}, {L"a*b*c", L"aXXbYYc", true},   {L"a*b*c", L"aXXbYY", false},
        {L"*.jpg; *.png", L"x.PNG", true}, {L"*.jpg,*.png", L"x.png", true}, {L"report.*", L"report", true},
        {L"*.", L"noext", true},    {L"*.", L"a.b", false},     {L"*", L".hidden", true},         {L" ; ", L"x", true},
        {L"z*", L"Zip", true},
    };
    const auto asciiCase = [](wchar_t a, wchar_t b) { return AsciiLower(a) == AsciiLower(b); };  // as the programs fold ASCII
    for (const auto& c : cases) EXPECT_EQ(common::Mask(c.mask, asciiCase).Matches(c.name), c.match) << c.mask << L" / " << c.name;
}

TEST(Sums, EveryFormPublishersWrite) {
    const std::string md5(32, 'a'), sha1(40, 'B'), sha256(64, '0'), sha384(96, '3'), sha512(128, 'f');
    const SumsFile sums = ParseSums("\xEF\xBB\xBF" + md5 + "  a b.txt\r\n# comment\n\n" + sha1 + " *dir/bin.iso\n" +
                                    "SHA256 (x (1).txt) = " + sha256 + "\n\\" + sha512 + "  back\\\\slash\\nline\n" +
                                    md5 + " one-space\n" + md5.substr(1) + "  short\nMD5 (x) = " + sha1 + "\n" + md5 + "  \n" +
                                    " \t" + sha384 + "\ttab\n\\SHA1 (bsd\\nnew) = " + sha1 + "\n" +
                                    "SHA224 (x) = " + std::string(56, '2') + "\nBLAKE2b (x) = " + sha512 + "\n" +
                                    std::string(56, '2') + "  x\n" + md5 + "  //host/share/x\nMD5 (\\\\.\\c:) = " + md5 + "\n" +
                                    "-----BEGIN PGP SIGNED MESSAGE-----\nHash: SHA256\n\n- " + md5 + "  signed\n" +
                                    "-----BEGIN PGP SIGNATURE-----\n" + md5 + "  not read\n-----END PGP SIGNATURE-----\n" +
                                    "\\" + md5 + "  cr\\rx\n\\" + md5 + "  bad\\q\n\\" + md5 + "  end\\\nA0z9Z-a (x) = ab\nX (y) = 09\n" +
                                    "09afAF" + md5.substr(6) + "  hex\nMD5 () = " + md5 + "\n" + md5 + "x  name\n" +
                                    "MD5 (\\??\\x) = " + md5 + "\n" + md5 + "  \\ab\\c\n" + md5 + "  x/y\na.b (x) = 09\n" +
                                    "MD5 (g) = " + md5.substr(1) + "g\n");
    std::vector<std::tuple<Algorithm, std::string, std::string, size_t>> got;
    for (const SumEntry& e : sums.entries) got.emplace_back(e.algorithm, e.hex, e.name, e.line);
    const std::string sha1Lower(40, 'b');
    EXPECT_EQ(got, (decltype(got){{Md5, md5, "a b.txt", 1}, {Sha1, sha1Lower, "dir/bin.iso", 4}, {Sha256, sha256, "x (1).txt", 5},
                                   {Sha512, sha512, "back\\slash\nline", 6}, {Md5, md5, "one-space", 7},
                                   {Sha384, sha384, "tab", 11}, {Sha1, sha1Lower, "bsd\nnew", 12}, {Md5, md5, "signed", 21},
                                   {Md5, md5, "cr\rx", 25}, {Md5, "09afaf" + md5.substr(6), "hex", 30}, {Md5, md5, "\\ab\\c", 34},
                                   {Md5, md5, "x/y", 35}}));
    EXPECT_TRUE(sums.entries[0].guessed && !sums.entries[2].guessed);
    std::vector<std::tuple<size_t, LineProblem, std::string>> problems;
    for (const SumsProblem& p : sums.problems) problems.emplace_back(p.line, p.problem, p.algorithm);
    EXPECT_EQ(problems, (decltype(problems){{8, LineProblem::NotSums, ""}, {9, LineProblem::NotSums, ""}, {10, LineProblem::NotSums, ""},
                                            {13, LineProblem::Unsupported, "SHA224"}, {14, LineProblem::Unsupported, "BLAKE2b"},
                                            {15, LineProblem::Unsupported, "SHA224"}, {16, LineProblem::Refused, ""},
                                            {17, LineProblem::Refused, ""}, {26, LineProblem::NotSums, ""}, {27, LineProblem::NotSums, ""},
                                            {28, LineProblem::Unsupported, "A0z9Z-a"}, {29, LineProblem::Unsupported, "X"},
                                            {31, LineProblem::NotSums, ""}, {32, LineProblem::NotSums, ""}, {33, LineProblem::Refused, ""},
                                            {36, LineProblem::NotSums, ""}, {37, LineProblem::NotSums, ""}}));
    // A file's name tells the algorithm of lines that do not name theirs, or that the tool lacks it.
    EXPECT_EQ(ParseSums(md5 + "  a", {Md5, "MD5"}).entries.at(0).line, 1u);
    EXPECT_EQ(ParseSums("f  a\n", {AlgorithmCount, "BLAKE2b"}).problems.at(0).algorithm, "BLAKE2b");
    for (const char* name : {"\\\\h\\s\\x", "\\/h/x", "\\\\?\\C:\\x", "\\\\?\\GLOBALROOT\\Device\\Null", "\\??\\UNC\\h\\x"})  // refused in either list
        EXPECT_TRUE(IsNetworkOrDevice(name)) << name;
    SumsReader reader;  // lines too long to hold: bad lines, counted
    reader.TooLong();
    reader.Line(md5 + "  a");
    reader.TooLong();
    const SumsFile cut = reader.Finish();
    EXPECT_EQ(cut.entries.at(0).line * 100 + cut.problems.at(0).line * 10 + cut.problems.at(1).line, 213u);
}

// The window's saved report read back: hash lines after their name, the unread block after the rule, the
// interrupted line last; a report cut short is no whole list.
TEST(Sums, SavedReportsAsTheWindowWritesThem) {
    const std::string md5(32, 'a'), sha1(40, 'b'), sha256(64, 'c');
    const auto read = [](const std::string& text) {
        const SumsFile f = ParseSums(text);
        std::string got;
        for (const SumEntry& e : f.entries) got += std::to_string(e.line) + AlgorithmNames[e.algorithm].data() + ":" + e.name + " ";
        for (const SumsProblem& p : f.problems) got += std::to_string(p.line) + "p" + std::to_string(int(p.problem)) + ":" + p.name + ":" + std::to_string(p.error) + " ";
        return got;
    };
    EXPECT_EQ(read("n1\r\nMD5:" + md5 + "\r\nSHA1:" + sha1 + "\r\nn2\r\nSHA256:" + sha256 + "\r\n***************\r\n" + ToUtf8(L"Не прочитано файлов: 2") +
                   "\r\nlocked\r\n" + ToUtf8(L"Ошибка 32: занят") + "\r\nother\r\n" + ToUtf8(L"Ошибка 5\r\nФормирование прервано: в отчёте не все файлы")),
              "2MD5:n1 3SHA1:n1 5SHA256:n2 8p3:locked:32 10p3:other:5 12p4::0 ");
    EXPECT_EQ(read("n1\r\nMD5:" + md5 + "\r\nn2\r\nn3\r\nMD5:x\r\nn4"), "2MD5:n1 3p0:n2:0 5p0:n3:0 6p0:n4:0 ");  // names without a hash, a bad hash
    const std::string rule = "n1\r\nMD5:" + md5 + "\r\n***************\r\n";
    std::string ten = ToUtf8(L"Не прочитано файлов: 10"), told = "2MD5:n1 ";
    for (int i = 0; i < 10; ++i) {  // error numbers of all ten digits a DWORD can have
        ten += ToUtf8(L"\r\nx\r\nОшибка 3221225477");
        told += std::to_string(5 + 2 * i) + "p3:x:3221225477 ";
    }
    EXPECT_EQ(read(rule + ten), told);  // all ten there: not cut
    EXPECT_EQ(read(rule + ToUtf8(L"Формирование прервано: в отчёте не все файлы")), "2MD5:n1 4p4::0 ");
    EXPECT_EQ(read(rule), "2MD5:n1 3p4::0 ");  // cut right after the rule
    EXPECT_EQ(read(rule + ToUtf8(L"Не прочитано файлов: 1\r\nОшибка 5")), "2MD5:n1 5p0:" + ToUtf8(L"Ошибка 5") + ":0 3p4::0 ");  // an error line without its name
    EXPECT_EQ(read("n1\r\nMD5:" + md5 + "\r\n***************\r\n" + ToUtf8(L"Не прочитано файлов: 2\r\nx\r\nОшибка 5\r\ny")),
              "2MD5:n1 5p3:x:5 7p0:y:0 3p4::0 ");  // cut inside the unread block: fewer files than told
}

TEST(Names, TheFileOpenedIsTheOneRecorded) {
    const struct { const wchar_t *base, *name, *path; } cases[] = {
        {L"C:\\data", L"dot.", L"C:\\data\\dot."},         {L"C:\\data", L"trail ", L"C:\\data\\trail "},
        {L"C:\\data", L"sub\\..\\..\\x.txt", L"C:\\x.txt"}, {L"C:\\", L"..\\..\\.\\a", L"C:\\a"},
        {L"C:\\data", L"\\top\\a", L"C:\\top\\a"},        {L"C:\\data", L"D:\\e\\..\\f. ", L"D:\\f. "},
        {L"\\\\h\\s\\d", L"..\\..\\x", L"\\\\h\\s\\x"},  {L"C:\\data", L"E:x", L"E:\\x"}, {L"C:\\data", L"\\\\h\\s\\..\\x", L"\\\\h\\s\\x"}, {L"C:\\data", L"E:", L"E:\\"},  {L"C:\\data", L"\\\\h\\s\\a\\", L"\\\\h\\s\\a\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveName(c.base, c.name), c.path) << c.name;
    for (const wchar_t* name : {L"C:\\d\\x", L"\\x", L"C:x", L"/x"}) EXPECT_TRUE(IsFullPath(name)) << name;  // FOLDER cannot apply to them
    EXPECT_FALSE(IsFullPath(L"sub\\x") || IsFullPath(L"x"));
    // Written as sums lines: a name with a line break escaped as GNU does, its line marked.
    EXPECT_EQ(SumsLine("ab", L"a b") + SumsLine("ab", L"x\\y\nz\r"), L"ab  a b\r\n\\ab  x\\\\y\\nz\\r\r\n");
}

// What the tool writes, the window's report reads back: every name, with U+FFFD
// where XML cannot carry a character, and the unread block.
TEST(Database, RoundTripFromTheToolToTheWindow) {
    const struct { std::wstring name, reads; } cases[] = {
        {L"C:\\a&amp; <c>.txt", L"C:\\a&amp; <c>.txt"},
        {L"\x041F \xD83D\xDE00 t\tc\rl\n", L"\x041F \xD83D\xDE00 t\tc\rl\n"},
        {std::wstring(L"a\x0001" L"b\xFFFE\xFFFF\xD800x") + L'\xDC00', L"a\xFFFD" L"b\xFFFD\xFFFD\xFFFDx\xFFFD"},
    };
    const auto report = [](const std::string& db) {
        return results::BuildHashReport(db, [](unsigned long) { return std::wstring(L"why"); });
    };
    for (const auto& c : cases) {
        bool replaced = false;
        const std::string db = DatabaseHeader() + DatabaseEntry(c.name, {"m", "s", "t"}, replaced) + DatabaseFooter();
        EXPECT_EQ(report(db), c.reads + L"\r\nMD5:m\r\nSHA1:s\r\nSHA256:t");
        EXPECT_EQ(replaced, c.name != c.reads);
    }
    const unsigned char digest[] = {0x9f, 0x00, 0xa0, 0xff};
    EXPECT_EQ(ToHex(digest, sizeof digest), "9f00a0ff");
    EXPECT_EQ(report(DatabaseHeader() + DatabaseError(L"C:\\d\\", 5) + DatabaseFooter()),
              L"***************\r\n Нет данных !\r\n***************\r\n***************\r\nНе прочитано файлов: 1\r\nC:\\d\\\r\nОшибка 5: why");
}

// A command line as scripts write it: what it asks for ("mode hashes flags folder|mask|database|sums|verdicts";
// hashes md5 sha1 sha256; flags -r -wp -ignoremissing -strict -status), or why it is refused.
TEST(Options, WhatALineAsksForOrWhyItIsRefused) {
    const struct { std::vector<std::wstring> args; const wchar_t* got; } cases[] = {
        {{L"D:\\d", L"-xml", L"db"}, L"record 100 ----- D:\\d||db||"}, {{L"-md5", L"-xml", L"db"}, L"no folder given"},
        {{L"D:\\d", L"-Both", L"-R", L"-wp", L"-sha256", L"-type", L"*.a", L"-XML", L"db"}, L"record 111 rw--- D:\\d|*.a|db||"},
        {{L"D:\\d", L"-md5", L"-sha1", L"-type", L"-xml", L"db"}, L"record 110 ----- D:\\d||db||"},  // -type alone: every file
        {{L"D:\\d", L"-sha256", L"-xml", L"db"}, L"record 001"}, {{L"D:\\d", L"-sums", L"x\\SHA1SUMS"}, L"record 010 ----- D:\\d|||x\\SHA1SUMS|"},
        {{L"D:\\d", L"-sums", L"out"}, L"record 100"}, {{L"D:\\d", L"-sha256", L"-sums", L"MD5SUMS"}, L"not the algorithm asked for"},
        {{L"D:\\d", L"-sums", L"x.sha512"}, L"says SHA512"}, {{L"D:\\d", L"-sums", L"SHA224SUMS"}, L"says SHA224"}, {{L"D:\\d", L"-md5", L"-sha1", L"-sums", L"out"}, L"one algorithm's sums"},
        {{L"D:\\d", L"-sums", L"o", L"-xml", L"db"}, L"not both"}, {{L"-v", L"-xml", L"db"}, L"check 000 ----- ||db||"},
        {{L"-v", L"-sums", L"s", L"-ignoremissing", L"-strict", L"-status", L"-verdicts", L"v", L"F"}, L"check 000 --ist F|||s|v"},
        {{L"-v", L"-sums", L"s", L"-strict"}, L"check 000 ---s- "}, {{L"-v", L"-sums", L"s", L"-status"}, L"check 000 ----t "},
        {{L"-v", L"-sums", L"s", L"-sha1"}, L"do not go with -v"}, {{L"-list", L"-xml", L"db", L"-sha256"}, L"list 001"},
        {{L"-list", L"-sums", L"s"}, L"does not go with -list"}, {{L"D:\\d", L"-xml"}, L"needs a file path"},
        {{L"D:\\d", L"-type", L"a", L"-type", L"b", L"-xml", L"db"}, L"given twice: -type"}, {{L"D:\\d", L"-xml", L"a", L"-xml", L"b"}, L"given twice: -xml"},
        {{L"-v", L"-sums", L"a", L"-sums", L"b"}, L"given twice: -sums"}, {{L"-v", L"-sums", L"a", L"-verdicts", L"b", L"-verdicts", L"c"}, L"given twice: -verdicts"},
        {{L"-v", L"-xml", L"a", L"-list"}, L"given twice: -list"}, {{L"D:\\d", L"-bogus", L"-xml", L"db"}, L"unknown switch"},
        {{L"-v", L"-xml", L"db", L"D:\\d", L"E:\\e"}, L"unexpected argument"}, {{L"-v", L"-xml", L"db", L""}, L"no folder given"},
        {{L"D:\\d", L"-strict", L"-xml", L"db"}, L"-strict goes with -v"}, {{L"D:\\d", L"-verdicts", L"v", L"-xml", L"db"}, L"-verdicts goes with -v"},
        {{L"D:\\d", L"-md5"}, L"-xml DBPATH is missing"}, {{L"D:\\d", L"/?", L"-bogus"}, L"help"}, {{L"-H"}, L"help"}, {{}, L"help"},
    };
    for (const auto& c : cases) {
        const ParseResult r = ParseArguments(c.args);
        const Options& o = r.options;
        std::wstring got = std::vector<std::wstring>{L"record ", L"check ", L"list "}[int(o.mode)];
        for (int a = 0; a < RecordedCount; ++a) got += o.hashes[a] ? L'1' : L'0';
        got += L' ';
        const std::pair<bool, wchar_t> flags[] = {{o.recursive, L'r'}, {o.namesOnly, L'w'}, {o.ignoreMissing, L'i'}, {o.strict, L's'}, {o.status, L't'}};
        for (const auto& [on, letter] : flags) got += on ? letter : L'-';
        got += L" " + o.folder + L"|" + o.mask + L"|" + o.database + L"|" + o.sums + L"|" + o.verdicts;
        EXPECT_NE((o.help ? L"help" : r.error.empty() ? got : r.error).find(c.got), std::wstring::npos) << got << r.error;
    }
}

}  // namespace
