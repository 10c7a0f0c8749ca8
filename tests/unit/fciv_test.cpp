#include <gtest/gtest.h>

#include <cwctype>
#include <tuple>

#include "common/mask.h"
#include "common/utf8.h"
#include "results/hash_report.h"
#include "sums.h"
#include "xml_writer.h"

namespace {

using namespace fciv;

TEST(Mask, WindowsWildcardsInAnyCase) {
    const struct {
        const wchar_t *mask, *name;
        bool match;
    } cases[] = {
        {L"", L"anything", true},   {L"*.*", L"noext", true},   {L"*.txt", L"READ.TXT", true},   {L"*.txt", L"a.txt.bak", false},
        {L"?.md", L"c.md", true},   {L"?.md", L"cc.md", false}, {L"a*b*c", L"aXXbYYc", true},   {L"a*b*c", L"aXXbYY", false},
        {L"*.jpg; *.png", L"x.PNG", true}, {L"*.jpg,*.png", L"x.gif", false}, {L"report.*", L"report", true},
        {L"*.", L"noext", true},    {L"*.", L"a.b", false},     {L"*", L".hidden", true},         {L" ; ", L"x", true},
    };
    const auto asciiCase = [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); };
    for (const auto& c : cases) EXPECT_EQ(common::Mask(c.mask, asciiCase).Matches(c.name), c.match) << c.mask << L" / " << c.name;
}

TEST(Sums, EveryFormPublishersWrite) {
    const std::string md5(32, 'a'), sha1(40, 'B'), sha256(64, '0'), sha512(128, 'f');
    const SumsFile sums = ParseSums("\xEF\xBB\xBF" + md5 + "  a b.txt\r\n# comment\n\n" + sha1 + " *dir/bin.iso\n" +
                                    "SHA256 (x (1).txt) = " + sha256 + "\n\\" + sha512 + "  back\\\\slash\\nline\n" +
                                    md5 + " one-space\n" + md5.substr(1) + "  short\nMD5 (x) = " + sha1 + "\n" + md5 + "  \n");
    std::vector<std::tuple<Algorithm, std::string, std::string, size_t>> got;
    for (const SumEntry& e : sums.entries) got.emplace_back(e.algorithm, e.hex, e.name, e.line);
    EXPECT_EQ(got, (decltype(got){{Md5, md5, "a b.txt", 1}, {Sha1, std::string(40, 'b'), "dir/bin.iso", 4},
                                   {Sha256, sha256, "x (1).txt", 5}, {Sha512, sha512, "back\\slash\nline", 6}}));
    EXPECT_EQ(sums.badLines, (std::vector<size_t>{7, 8, 9, 10}));
}

// What the tool writes, the window's report reads back: every name, with U+FFFD
// where XML cannot carry a character, and the unread block.
TEST(Database, RoundTripFromTheToolToTheWindow) {
    const struct {
        std::wstring name, reads;
    } cases[] = {
        {L"C:\\a&amp; <c>.txt", L"C:\\a&amp; <c>.txt"},
        {L"\x041F \xD83D\xDE00 t\tc\rl\n", L"\x041F \xD83D\xDE00 t\tc\rl\n"},
        {std::wstring(L"a\x0001" L"b\xFFFE\xFFFF\xD800x") + L'\xDC00', L"a\xFFFD" L"b\xFFFD\xFFFD\xFFFDx\xFFFD"},
    };
    const auto report = [](const std::string& db) {
        return results::BuildHashReport(common::Utf8Decode(db), [](unsigned long) { return std::wstring(L"why"); });
    };
    for (const auto& c : cases) {
        bool replaced = false;
        const std::string db = DatabaseHeader() + DatabaseEntry(c.name, "m", "s", replaced) + DatabaseFooter();
        EXPECT_EQ(report(db), c.reads + L"\r\nMD5:m\r\nSHA1:s");
        EXPECT_EQ(replaced, c.name != c.reads);
    }
    EXPECT_EQ(report(DatabaseHeader() + DatabaseError(L"C:\\d\\", 5) + DatabaseFooter()),
              L"***************\r\n Нет данных !\r\n***************\r\n***************\r\nНе прочитано файлов: 1\r\nC:\\d\\\r\nОшибка 5: why");
}

}  // namespace
