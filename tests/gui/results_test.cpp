#include "gui_fixture.h"
#include "platform/files.h"
#include "platform/system_text.h"

namespace {

using test::FormTest;
using test::TempFolder;

const std::wstring Banner = L"***************\r\n Нет данных !\r\n***************";

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string Cp1251(const std::wstring& text) {
    std::string out(text.size() * 2, '\0');
    out.resize(static_cast<size_t>(WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                                       static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

std::string Entry(const std::wstring& name, const std::wstring& md5, const std::wstring& sha1) {
    return Utf8(L"<FILE_ENTRY><name>" + name + L"</name><MD5>" + md5 + L"</MD5><SHA1>" + sha1 + L"</SHA1></FILE_ENTRY>\r\n");
}

class ResultsTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form->AppDir = dir.Path() + L"\\";
        db = form->AppDir + L"dbsha.xml";
    }
    std::string Read(const std::wstring& name) { return platform::ReadFileCreating(form->AppDir + name); }
    TempFolder dir{L"results test"};
    std::wstring db;
};

TEST_F(ResultsTest, ShowsTheReportOfEveryNameExactly) {
    const std::wstring names[] = {L"C:\\data\\Отчёт за год.txt", L"C:\\data\\漢字.bin", L"C:\\data\\smile \xD83D\xDE00.png",
                                  L"C:\\data\\a&b 'q'.txt"};
    std::string bytes = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<FCIV>\r\n";
    std::wstring expected;
    for (const auto& name : names) {
        std::wstring escaped = name;
        if (size_t amp = escaped.find(L'&'); amp != std::wstring::npos) escaped.replace(amp, 1, L"&amp;");
        bytes += Entry(escaped, L"d41d8cd98f00b204e9800998ecf8427e", L"da39a3ee5e6b4b0d3255bfef95601890afd80709");
        expected += (expected.empty() ? L"" : L"\r\n") + name +
                    L"\r\nMD5:d41d8cd98f00b204e9800998ecf8427e\r\nSHA1:da39a3ee5e6b4b0d3255bfef95601890afd80709";
    }
    dir.Write(L"dbsha.xml", bytes + "</FCIV>\r\n");
    ReadHashDatabase(db);
    EXPECT_EQ(form->Text6.Text(), expected);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(shell.started.empty());  // not saved unless asked
    // What the tool could not read ends the report, in the system's words.
    dir.Write(L"dbsha.xml", bytes + "<FILE_ERROR><name>C:\\x.log</name><error>32</error></FILE_ERROR></FCIV>");
    ReadHashDatabase(db);
    ASSERT_NE(platform::SystemMessage(32), L"");
    EXPECT_EQ(form->Text6.Text(), expected + L"\r\n***************\r\nНе прочитано файлов: 1\r\nC:\\x.log\r\nОшибка 32: " +
                                      platform::SystemMessage(32));
}

TEST_F(ResultsTest, AnOddLastByteStillGivesTheReport) {
    dir.Write(L"dbsha.xml", Entry(L"a", L"m", L"s") + "\xD0");
    ReadHashDatabase(db);
    EXPECT_EQ(form->Text6.Text(), L"a\r\nMD5:m\r\nSHA1:s");
}

TEST_F(ResultsTest, MissingOrEmptyDatabaseLeavesTheResultBoxAlone) {
    form->Text6.SetText(L"earlier report");
    form->Check4.SetValue(1);
    ReadHashDatabase(db);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].prompt, L"Файл пуст.\r" + db);
    EXPECT_EQ(dialogs.shown[0].style, 64);
    EXPECT_EQ(dialogs.shown[0].title, L"");
    EXPECT_EQ(form->Text6.Text(), L"earlier report");
    EXPECT_EQ(GetFileAttributesW(db.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);  // created empty, and closed:
    dir.Write(L"dbsha.xml", "<FCIV></FCIV>");
    ReadHashDatabase(db);
    EXPECT_EQ(form->Text6.Text(), Banner);
    EXPECT_EQ(shell.started.size(), 1u);  // the banner is saved too
}

TEST_F(ResultsTest, ReadFailureIsReported) {
    form->Text6.SetText(L"earlier report");
    ReadHashDatabase(form->AppDir + L"no such folder\\dbsha.xml");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].prompt, L"76\rПуть не найден");
    EXPECT_EQ(dialogs.shown[0].style, 0);
    EXPECT_EQ(dialogs.shown[0].title, L"");
    EXPECT_EQ(form->Text6.Text(), L"earlier report");
}

TEST_F(ResultsTest, SavesTheReportAndOpensIt) {
    dir.Write(L"dbsha.xml", Entry(L"C:\\данные\\a.txt", L"m1", L"s1") + Entry(L"C:\\данные\\b.txt", L"m2", L"s2"));
    form->Check4.SetValue(1);
    ReadHashDatabase(db);
    const std::wstring report = L"C:\\данные\\a.txt\r\nMD5:m1\r\nSHA1:s1\r\nC:\\данные\\b.txt\r\nMD5:m2\r\nSHA1:s2";
    EXPECT_EQ(Read(L"hash_12-06-2026_953.txt"), Cp1251(report + L"\r\n"));  // one byte a letter
    ASSERT_EQ(shell.started.size(), 1u);
    EXPECT_EQ(shell.started[0], L"notepad.exe \"" + form->AppDir + L"hash_12-06-2026_953.txt\"");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ResultsTest, ReportsThatShareANameAreNumberedNotOverwritten) {
    form->Text6.SetText(L"first");
    SaveReport();
    form->Text6.SetText(L"second");
    SaveReport();
    form->Text6.SetText(L"third");
    SaveReport();
    EXPECT_EQ(Read(L"hash_12-06-2026_953.txt"), "first\r\n");
    EXPECT_EQ(Read(L"hash_12-06-2026_953 (2).txt"), "second\r\n");
    EXPECT_EQ(Read(L"hash_12-06-2026_953 (3).txt"), "third\r\n");
    EXPECT_EQ(shell.started.back(), L"notepad.exe \"" + form->AppDir + L"hash_12-06-2026_953 (3).txt\"");
}

TEST_F(ResultsTest, CharactersOutsideTheCodePageAreKeptAsUtf8) {
    const std::wstring report = L"C:\\漢字\\smile \xD83D\xDE00.txt\r\nMD5:m";
    form->Text6.SetText(report);
    SaveReport();
    EXPECT_EQ(Read(L"hash_12-06-2026_953.txt"), "\xEF\xBB\xBF" + Utf8(report + L"\r\n"));
}

TEST_F(ResultsTest, SaveErrorsAreShownExceptAMissingEditor) {
    form->Text6.SetText(L"report");
    shell.failure = 53;
    SaveReport();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(Read(L"hash_12-06-2026_953.txt"), "report\r\n");  // the file stays

    shell.failure = 70;
    SaveReport();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].prompt, L"70\rОтказано в разрешении");
    EXPECT_EQ(dialogs.shown[0].style, 0);

    dialogs.shown.clear();
    shell.started.clear();
    form->AppDir += L"gone\\";  // a folder that cannot be written to
    SaveReport();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].prompt, L"76\rПуть не найден");
    EXPECT_TRUE(shell.started.empty());
}

}  // namespace
