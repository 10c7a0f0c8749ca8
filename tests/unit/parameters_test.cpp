#include <gtest/gtest.h>

#include "job/parameters.h"

namespace {

using namespace job;

struct Case {
    const wchar_t* folder;
    bool md5, sha1;
    const wchar_t* pattern;
    bool recursive, namesOnly;
    const wchar_t* appDir;
    const wchar_t* expected;
};

std::wstring Build(const Case& c) {
    return ParameterString(c.folder, SwitchText(c.recursive, c.namesOnly), MaskText(c.pattern),
                           HashTypeText(c.md5, L"-md5", c.sha1, L"-sha1"), c.appDir);
}

TEST(ParameterString, BuildsTheToolsCommandLine) {
    const Case cases[] = {
        // The documented table.
        {L"C:\\Data", true, false, L"*.*", false, false, L"C:\\Tools\\", L"C:\\Data -md5 -xml C:\\Tools\\dbsha.xml"},
        {L"D:\\", true, true, L"*.txt", true, true, L"C:\\Tools\\",
         L"D:\\ -r -wp -type *.txt -both -xml C:\\Tools\\dbsha.xml"},
        {L"C:\\Data\\Photos", false, true, L"*.jpg", true, false, L"C:\\Tools\\",
         L"C:\\Data\\Photos -r -type *.jpg -sha1 -xml C:\\Tools\\dbsha.xml"},
        {L"C:\\Data", false, false, L"*.*", false, true, L"C:\\Tools\\", L"C:\\Data -wp -xml C:\\Tools\\dbsha.xml"},
        // Only the exact "*.*" leaves the mask out; the empty mask is passed too.
        {L"C:\\Data", true, false, L"*.* ", false, false, L"C:\\Tools\\",
         L"C:\\Data -type \"*.* \" -md5 -xml C:\\Tools\\dbsha.xml"},
        {L"C:\\Data", true, false, L"*.TXT", false, false, L"C:\\Tools\\",
         L"C:\\Data -type *.TXT -md5 -xml C:\\Tools\\dbsha.xml"},
        {L"C:\\Data", true, false, L"", false, false, L"C:\\Tools\\", L"C:\\Data -type  -md5 -xml C:\\Tools\\dbsha.xml"},
        // Blanks are quoted, so the tool sees one argument; a root keeps its backslash.
        {L"C:\\My Data", true, false, L"*.*", false, false, L"C:\\Program Files\\Tallymere\\",
         L"\"C:\\My Data\" -md5 -xml \"C:\\Program Files\\Tallymere\\dbsha.xml\""},
        {L"C:\\data -r", true, false, L"*.*", false, false, L"C:\\Tools\\",
         L"\"C:\\data -r\" -md5 -xml C:\\Tools\\dbsha.xml"},
        {L"C:\\Папка", false, true, L"*.doc; *.txt", false, false, L"C:\\Tools\\",
         L"C:\\Папка -type \"*.doc; *.txt\" -sha1 -xml C:\\Tools\\dbsha.xml"},
    };
    for (const Case& c : cases) EXPECT_EQ(Build(c), c.expected) << c.folder << L" " << c.pattern;
}

TEST(QuoteArgument, FollowsTheWindowsArgumentRules) {
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"plain", L"plain"},
        {L"C:\\", L"C:\\"},
        {L"a b", L"\"a b\""},
        {L"tab\there", L"\"tab\there\""},
        {L"C:\\My Dir\\", L"\"C:\\My Dir\\\\\""},      // trailing backslash doubled before the quote
        {L"C:\\My Dir\\\\", L"\"C:\\My Dir\\\\\\\\\""},  // two become four
        {L"a \"b\"", L"\"a \\\"b\\\"\""},              // an inner quote is escaped
        {L"a\\\" b", L"\"a\\\\\\\" b\""},                // backslashes before a quote doubled, plus one
        {L"*.txt\"", L"*.txt\\\""},                     // a quote without blanks is escaped, not enclosed
    };
    for (const auto& c : cases) EXPECT_EQ(QuoteArgument(c.in), c.out) << c.in;
}

TEST(HashTypeText, TagsOnlyWhenExactlyOneBoxIsTicked) {
    EXPECT_EQ(HashTypeText(true, L"-md5", true, L"-sha1"), L" -both");
    EXPECT_EQ(HashTypeText(true, L"-md5", false, L"-sha1"), L" -md5");
    EXPECT_EQ(HashTypeText(false, L"-md5", true, L"-sha1"), L" -sha1");
    EXPECT_EQ(HashTypeText(false, L"-md5", false, L"-sha1"), L"");
    EXPECT_EQ(SwitchText(false, false), L"");
    EXPECT_EQ(SwitchText(true, false), L" -r");
}

}  // namespace
