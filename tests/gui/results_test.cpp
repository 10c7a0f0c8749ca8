#include "common/utf8.h"
#include "gui_fixture.h"
#include "win32/files.h"
#include "win32/system_text.h"

namespace {

using app::Text6;
using test::FormTest;
using test::TempFolder;

std::string Cp1251(const std::wstring& text) {
    std::string out(text.size() * 2, '\0');
    out.resize(static_cast<size_t>(WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                                       static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

class ResultsTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form->AppDir = dir.Path() + L"\\";
    }
    std::string Read(const std::wstring& name) { return win32::ReadFileCreating(form->AppDir + name); }
    void ReadDatabase() { app::FormProbe::ReadHashDatabase(*form, db); }
    TempFolder dir{L"results test"};
    const std::wstring db = dir.Path() + L"\\dbsha.xml";
    const std::wstring report1 = L"hash_01-09-2027_953.txt", report2 = L"hash_01-09-2027_953 (2).txt";
};

TEST_F(ResultsTest, ShowsAndSavesTheReportUnderANameOfItsOwn) {
    dir.Write(L"dbsha.xml", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<FCIV>\r\n" +
                                common::ToUtf8(L"<FILE_ENTRY><name>C:\\Отчёт a&amp;b.txt</name><MD5>m1</MD5><SHA1>s1</SHA1></FILE_ENTRY>") +
                                "<FILE_ERROR><name>C:\\x.log</name><error>32</error></FILE_ERROR></FCIV>");
    form->Check4.SetValue(1);
    ReadDatabase();
    ASSERT_NE(win32::SystemMessage(32), L"");  // in the system's words
    const std::wstring report = L"C:\\Отчёт a&b.txt\r\nMD5:m1\r\nSHA1:s1\r\n***************\r\nНе прочитано файлов: 1\r\n"
                                L"C:\\x.log\r\nОшибка 32: " + win32::SystemMessage(32);
    EXPECT_EQ(form->Text6.Text(), report);
    EXPECT_EQ(Read(report1), Cp1251(report + L"\r\n"));  // one byte a letter
    const std::wstring notepad = L"\"" + win32::WindowsFolder() + L"notepad.exe\" \"";
    EXPECT_EQ(shell.started, std::vector<std::wstring>{notepad + form->AppDir + report1 + L"\""});
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ResultsTest, FailuresAreReportedAndLeaveTheResultBoxAlone) {
    const std::wstring banner = L"***************\r\n Нет данных !\r\n***************";
    form->Text6.SetText(L"earlier report");
    ReadDatabase();  // missing: created empty, and reported
    EXPECT_EQ(dialogs.shown, (std::vector<test::Shown>{{L"Файл пуст.\r" + db, 64, L""}}));
    EXPECT_EQ(form->Text6.Text(), L"earlier report");
    EXPECT_NE(GetFileAttributesW(db.c_str()), INVALID_FILE_ATTRIBUTES);
    const std::string name(40000, 'n');  // past the reader's first 16 MiB, and longer than an edit box takes unless told
    dir.Write(L"dbsha.xml", std::string(17 << 20, ' ') + "<FILE_ENTRY><name>" + name + "</name></FILE_ENTRY>");
    ReadDatabase();
    EXPECT_EQ(form->Text6.Text(), std::wstring(name.begin(), name.end()));
    dir.Write(L"dbsha.xml", "<FCIV></FCIV>");
    ReadDatabase();
    EXPECT_EQ(form->Text6.Text(), banner);
    EXPECT_TRUE(shell.started.empty());  // not saved unless asked
    form->Check4.SetValue(1);
    shell.failure = 53;  // no editor: the saved report stays, and nothing is shown
    ReadDatabase();
    EXPECT_EQ(Read(report1), Cp1251(banner + L"\r\n"));
    form->AppDir += L"gone\\";  // a folder that cannot be written to or read from
    app::FormProbe::SaveReport(*form, banner);
    EXPECT_EQ(shell.started.size(), 1u);  // no editor for a report not written
    app::FormProbe::ReadHashDatabase(*form, form->AppDir + L"dbsha.xml");
    EXPECT_EQ(form->Text6.Text(), banner);
    const test::Shown notFound{L"76\rПуть не найден", 0, L""};  // each once; none for the editor
    EXPECT_EQ(dialogs.shown, (std::vector<test::Shown>{{L"Файл пуст.\r" + db, 64, L""}, notFound, notFound}));
}

std::wstring Clipboard() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"(no clipboard)";
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// A report of 100,000 files: the window answers while it is read (input waiting when the read
// begins is handled before the report is whole), and it is shown, selected, copied and saved whole.
TEST_F(ResultsTest, ALargeReportIsReadWhileTheWindowAnswersAndIsSelectedAndSavedWhole) {
    std::string db = "<FCIV>";
    std::wstring report;
    for (int i = 0; i < 100000; ++i) {
        const std::string n = std::to_string(i);
        db += "<FILE_ENTRY><name>C:\\d\\" + n + ".txt</name><MD5>" + std::string(32 - n.size(), 'a') + n + "</MD5></FILE_ENTRY>";
        report += (i ? L"\r\n" : L"") + (L"C:\\d\\" + std::wstring(n.begin(), n.end()) + L".txt\r\nMD5:") + std::wstring(32 - n.size(), L'a') +
                  std::wstring(n.begin(), n.end());
    }
    dir.Write(L"dbsha.xml", db + "</FCIV>");
    form->Check4.SetValue(1);
    std::wstring shownDuringRead = L"(not asked)";
    dialogs.onMessage = [&] { shownDuringRead = form->Text6.Text(); };
    form->Text6.SetText(L"");
    TabTo(Text6);
    INPUT f1[]{{.type = INPUT_KEYBOARD, .ki = {VK_F1, 0, 0, 0, 0}}, {.type = INPUT_KEYBOARD, .ki = {VK_F1, 0, KEYEVENTF_KEYUP, 0, 0}}};
    SendInput(2, f1, sizeof(INPUT));  // waiting in the queue when the read begins
    ReadDatabase();
    EXPECT_EQ(shownDuringRead, L"") << "the window did not answer while the report was read";
    EXPECT_EQ(dialogs.shown.size(), 1u);
    ASSERT_EQ(form->Text6.Text(), report);  // WM_GETTEXT: the whole report
    EXPECT_EQ(Read(report1), Cp1251(report + L"\r\n"));

    const auto selected = [&] {
        Press('C', 2);
        return Clipboard();
    };
    Press(VK_END, 2);  // Ctrl+End, then up by keys
    EXPECT_GT(GetScrollPos(Item(Text6), SB_VERT), 199000);
    Press(VK_UP, 1);
    Press(VK_HOME, 1);
    EXPECT_EQ(selected(), L"C:\\d\\99999.txt\r\nMD5:" + std::wstring(27, L'a') + L"99999");
    Press('X');  // read-only
    EXPECT_EQ(form->Text6.Text().size(), report.size());
    Press(VK_HOME, 2);
    EXPECT_EQ(GetScrollPos(Item(Text6), SB_VERT), 0);
    Press(VK_DOWN, 1);
    Press(VK_RIGHT, 1);
    EXPECT_EQ(selected(), L"C:\\d\\0.txt\r\nM");
    TEXTMETRICW tm{};
    const HDC dc = GetDC(Item(Text6));
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(Item(Text6), WM_GETFONT, 0, 0)));
    GetTextMetricsW(dc, &tm);
    ReleaseDC(Item(Text6), dc);
    RECT box;
    GetClientRect(Item(Text6), &box);
    POINT hash{box.right - 20, tm.tmHeight * 3 / 2};  // beyond the end of the second line, the first hash's
    ClientToScreen(Item(Text6), &hash);
    ClickAt(hash, 2);
    Pump();
    EXPECT_EQ(selected(), std::wstring(31, L'a') + L"0");  // a double click selects the hash alone
    OpenClipboard(nullptr), EmptyClipboard(), CloseClipboard();
    PressInTurn({VK_APPS, VK_RETURN});  // the context menu's first item copies, and the selection stays
    EXPECT_EQ(Clipboard() + L"|" + selected(), std::wstring(31, L'a') + L"0|" + std::wstring(31, L'a') + L"0");
    Press(VK_NEXT);  // a page down by keys, then on by the wheel (the mouse still over the box since the double click)
    const int paged = GetScrollPos(Item(Text6), SB_VERT);
    EXPECT_GT(paged, 10);
    INPUT wheel{.type = INPUT_MOUSE, .mi = {0, 0, static_cast<DWORD>(-3 * WHEEL_DELTA), MOUSEEVENTF_WHEEL, 0, 0}};
    SendInput(1, &wheel, sizeof wheel);
    Pump();
    EXPECT_GT(GetScrollPos(Item(Text6), SB_VERT), paged);
    Press('A', 2);
    EXPECT_EQ(selected(), report);
    PostMessageW(form->Window().Hwnd(), WM_CLOSE, 0, 0);
    ReadDatabase();  // the window closed while it is read: the read is dropped, nothing saved
    Pump();
    EXPECT_TRUE(quit);
    EXPECT_FALSE(std::filesystem::exists(form->AppDir + report2));
}

}  // namespace
