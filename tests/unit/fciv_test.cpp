#include <gtest/gtest.h>

#include "mask.h"
#include "options.h"
#include "xml_writer.h"

namespace {

using namespace fciv;

TEST(Mask, WindowsWildcardsInAnyCase) {
    const struct {
        const wchar_t* mask;
        const wchar_t* name;
        bool match;
    } cases[] = {
        {L"", L"anything", true},
        {L"*.*", L"noext", true},
        {L"*.*", L"a.b.c", true},
        {L"*.txt", L"READ.TXT", true},
        {L"*.txt", L"a.txt.bak", false},
        {L"?.md", L"c.md", true},
        {L"?.md", L"cc.md", false},
        {L"a*b*c", L"aXXbYYc", true},
        {L"a*b*c", L"aXXbYY", false},
        {L"*.jpg; *.png", L"x.PNG", true},
        {L"*.jpg,*.png", L"x.gif", false},
        {L"report.*", L"report", true},
        {L"*.", L"noext", true},
        {L"*.", L"a.b", false},
        {L"отчёт*", L"ОТЧЁТ 2026.doc", true},
        {L"*", L".hidden", true},
        {L" ; ", L"x", true},  // only blanks: every file
    };
    for (const auto& c : cases) EXPECT_EQ(Mask(c.mask).Matches(c.name), c.match) << c.mask << L" / " << c.name;
}

TEST(Options, ParsesTheWindowsCommandLine) {
    auto r = ParseArguments({L"C:\\My Data", L"-R", L"-wp", L"-type", L"*.txt", L"-Both", L"-xml", L"C:\\x\\db.xml"});
    EXPECT_EQ(r.error, L"");
    EXPECT_EQ(r.options.folder, L"C:\\My Data");
    EXPECT_TRUE(r.options.recursive && r.options.namesOnly && r.options.md5 && r.options.sha1);
    EXPECT_EQ(r.options.mask, L"*.txt");
    EXPECT_EQ(r.options.database, L"C:\\x\\db.xml");

    r = ParseArguments({L"C:\\d", L"-xml", L"db.xml"});
    EXPECT_TRUE(r.options.md5 && !r.options.sha1);  // MD5 unless told
    r = ParseArguments({L"C:\\d", L"-type", L"-sha1", L"-xml", L"db.xml"});
    EXPECT_EQ(r.options.mask, L"");  // an empty mask before the next switch
    EXPECT_TRUE(!r.options.md5 && r.options.sha1);
    EXPECT_TRUE(ParseArguments({}).options.help);
    EXPECT_TRUE(ParseArguments({L"C:\\d", L"-?"}).options.help);
}

TEST(Options, RejectsBadCommandLines) {
    const std::vector<std::vector<std::wstring>> bad = {
        {L"C:\\d", L"-bogus", L"-xml", L"db.xml"},
        {L"C:\\d", L"-xml"},
        {L"C:\\d", L"-xml", L"-md5"},
        {L"C:\\d", L"-md5"},
        {L"-md5", L"-xml", L"db.xml"},
        {L"C:\\d", L"extra", L"-xml", L"db.xml"},
    };
    for (const auto& args : bad) EXPECT_NE(ParseArguments(args).error, L"") << args.size();
}

TEST(DatabaseEntry, EscapesAndEncodesNames) {
    EXPECT_EQ(DatabaseEntry(L"C:\\a&b <c>.txt", "m", ""),
              "<FILE_ENTRY><name>C:\\a&amp;b &lt;c&gt;.txt</name><MD5>m</MD5></FILE_ENTRY>\r\n");
    EXPECT_EQ(DatabaseEntry(L"\x041F \xD83D\xDE00", "", "s"),
              "<FILE_ENTRY><name>\xD0\x9F \xF0\x9F\x98\x80</name><SHA1>s</SHA1></FILE_ENTRY>\r\n");
    EXPECT_EQ(ToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xED\xA0\x80");  // a lone surrogate kept
    const unsigned char digest[] = {0x00, 0x9f, 0xff};
    EXPECT_EQ(ToHex(digest, 3), "009fff");
}

}  // namespace
