#include "common/utf8.h"
#include "gui_fixture.h"
#include "platform/files.h"
#include "platform/system_text.h"

namespace {

using test::FormTest;
using test::TempFolder;

const std::wstring Banner = L"***************\r\n Нет данных !\r\n***************";

std::string Cp1251(const std::wstring& text) {
    std::string out(text.size() * 2, '\0');
    out.resize(static_cast<size_t>(WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                                       static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

std::string Entry(const std::wstring& name, const std::wstring& md5, const std::wstring& sha1) {
    return common::ToUtf8(L"<FILE_ENTRY><name>" + name + L"</name><MD5>" + md5 + L"</MD5><SHA1>" + sha1 + L"</SHA1></FILE_ENTRY>\r\n");
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

TEST_F(ResultsTest, ShowsTheReportAndWhatCouldNotBeRead) {
    dir.Write(L"dbsha.xml", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<FCIV>\r\n" + Entry(L"C:\\Отчёт a&amp;b.txt", L"m1", L"s1") +
                                Entry(L"C:\\smile \xD83D\xDE00", L"m2", L"s2") +
                                "<FILE_ERROR><name>C:\\x.log</name><error>32</error></FILE_ERROR></FCIV>");
    ReadHashDatabase(db);
    ASSERT_NE(platform::SystemMessage(32), L"");  // in the system's words
    EXPECT_EQ(form->Text6.Text(), L"C:\\Отчёт a&b.txt\r\nMD5:m1\r\nSHA1:s1\r\nC:\\smile \xD83D\xDE00\r\nMD5:m2\r\nSHA1:s2\r\n"
                                  L"***************\r\nНе прочитано файлов: 1\r\nC:\\x.log\r\nОшибка 32: " +
                                      platform::SystemMessage(32));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(shell.started.empty());  // not saved unless asked
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
    ReadHashDatabase(form->AppDir + L"no such folder\\dbsha.xml");  // a read failure is reported
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].prompt, L"76\rПуть не найден");
    EXPECT_EQ(dialogs.shown[1].style, 0);
    EXPECT_EQ(form->Text6.Text(), Banner);
}

TEST_F(ResultsTest, SavesTheReportAndOpensItUnderANameOfItsOwn) {
    dir.Write(L"dbsha.xml", Entry(L"C:\\данные\\a.txt", L"m1", L"s1") + Entry(L"C:\\данные\\b.txt", L"m2", L"s2"));
    form->Check4.SetValue(1);
    ReadHashDatabase(db);
    const std::wstring report = L"C:\\данные\\a.txt\r\nMD5:m1\r\nSHA1:s1\r\nC:\\данные\\b.txt\r\nMD5:m2\r\nSHA1:s2";
    EXPECT_EQ(Read(L"hash_12-06-2026_953.txt"), Cp1251(report + L"\r\n"));  // one byte a letter
    ASSERT_EQ(shell.started.size(), 1u);
    EXPECT_EQ(shell.started[0], L"notepad.exe \"" + form->AppDir + L"hash_12-06-2026_953.txt\"");
    EXPECT_TRUE(dialogs.shown.empty());
    const std::wstring wide = L"C:\\漢字\\smile \xD83D\xDE00.txt\r\nMD5:m";  // outside code page 1251: UTF-8
    form->Text6.SetText(wide);
    SaveReport();
    EXPECT_EQ(Read(L"hash_12-06-2026_953.txt"), Cp1251(report + L"\r\n"));  // never overwritten
    EXPECT_EQ(Read(L"hash_12-06-2026_953 (2).txt"), "\xEF\xBB\xBF" + common::ToUtf8(wide + L"\r\n"));
    EXPECT_EQ(shell.started.back(), L"notepad.exe \"" + form->AppDir + L"hash_12-06-2026_953 (2).txt\"");
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
