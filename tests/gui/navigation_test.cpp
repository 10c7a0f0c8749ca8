#include "platform/win.h"

#include <commctrl.h>

#include "gui_fixture.h"

namespace {

using namespace app;
using test::FormTest;
using test::TempFolder;

class NavigationTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        dir.Make(L"Отчёты");
        dir.Make(L"Отчёты\\2026");
        dir.Make(L"Архив");
        dir.Write(L"Отчёты\\b.txt", "b");
        dir.Write(L"Отчёты\\a.TXT", "a");
        dir.Write(L"Отчёты\\c.doc", "c");
    }
    // Types a path into the path box and releases Enter there: the user's way to move the lists.
    void Enter(const std::wstring& path, int shift = 0) {
        if (!path.empty()) form->Text1.SetText(path);
        SetFocus(Item(Text1));
        Press(VK_RETURN, shift);
    }
    // The user picks a drive in the drive list.
    void ChooseDrive(wchar_t letter) {
        const HWND combo = Item(Drive1);
        const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[300] = L"";
            COMBOBOXEXITEMW item{};
            item.mask = CBEIF_TEXT;
            item.iItem = i;
            item.pszText = text;
            item.cchTextMax = 300;
            SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            if (towlower(text[0]) == letter) {
                SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
                SendMessageW(form->Window().Hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(combo));
                return;
            }
        }
        FAIL() << "no drive " << static_cast<char>(letter);
    }
    TempFolder dir{L"навигация "};
};

TEST_F(NavigationTest, EnterOnAFolderMovesTheListsThere) {
    const std::wstring reports = dir.Path() + L"\\Отчёты";
    for (int shift : {0, 1, 2}) {  // Enter, Shift+Enter, Ctrl+Enter
        Enter(L"Z:\\");
        Enter(reports + L"\\", shift);
        EXPECT_EQ(form->Dir1.Path(), reports);  // read back without the trailing backslash
        EXPECT_EQ(form->File1.Path(), reports);
        EXPECT_EQ(form->Drive1.Drive().substr(0, 2), L"c:");
        EXPECT_TRUE(dialogs.shown.empty());
    }
    EXPECT_EQ(Items(File1), (std::vector<std::wstring>{L"a.TXT", L"b.txt", L"c.doc"}));
}

TEST_F(NavigationTest, EnterOnAnotherDriveEndsOnTheTypedFolder) {
    Enter(dir.Path());
    Enter(L"Z:\\tmp");
    EXPECT_EQ(form->Dir1.Path(), L"Z:\\tmp");
    EXPECT_EQ(form->File1.Path(), L"Z:\\tmp");
    EXPECT_EQ(form->Drive1.Drive().substr(0, 2), L"z:");
}

TEST_F(NavigationTest, OtherKeysDoNothing) {
    Enter(dir.Path());
    form->Text1.SetText(L"Z:\\tmp");
    SetFocus(Item(Text1));
    for (UINT key : {UINT{VK_F2}, UINT{VK_SPACE}, UINT{0x41}, UINT{VK_ESCAPE}}) Press(key);
    EXPECT_EQ(form->Dir1.Path(), dir.Path());
}

TEST_F(NavigationTest, MissingFolderIsReportedAndThePathBoxWalksUp) {
    Enter(dir.Path());
    const std::wstring typed = dir.Path() + L"\\Missing\\Deeper";
    Enter(typed);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].prompt, L"Ошибка пути: '" + typed + L"'");
    EXPECT_EQ(dialogs.shown[0].title, L"Путь не найден76");
    EXPECT_EQ(dialogs.shown[0].style, 48);
    EXPECT_EQ(form->Text1.Text(), dir.Path() + L"\\Missing\\");
    EXPECT_EQ(form->Dir1.Path(), dir.Path());  // the lists stay
    Enter(L"");
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(form->Text1.Text(), dir.Path() + L"\\");
    Enter(L"");
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(form->Dir1.Path(), dir.Path());
    EXPECT_EQ(form->File1.Path(), dir.Path());
}

TEST_F(NavigationTest, EmptyPathBoxStaysEmpty) {
    form->Text1.SetText(L"");
    Enter(L"");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].prompt, L"Ошибка пути: ''");
    EXPECT_EQ(form->Text1.Text(), L"");
}

TEST_F(NavigationTest, OtherErrorsTakeTheGeneralBranch) {
    Enter(dir.Path());
    Enter(L"C:\\bad|name");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].prompt, L"Неверное имя или номер файла№52");
    EXPECT_EQ(dialogs.shown[0].title, L"Неверное имя или номер файла52");
    EXPECT_EQ(form->Text1.Text(), L"C:\\bad|name");  // nothing more changes
    EXPECT_EQ(form->Dir1.Path(), dir.Path());
}

TEST_F(NavigationTest, DriveThatIsNotReadyGoesBack) {
    Enter(dir.Path());
    std::wstring driveWhileOpen;
    dialogs.onMessage = [&] { driveWhileOpen = form->Drive1.Drive(); };
    ChooseDrive(L'r');
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].prompt, L"Устройство недоступно: '" + driveWhileOpen + L"'");
    EXPECT_EQ(driveWhileOpen.substr(0, 2), L"r:");  // the box names the chosen drive
    EXPECT_EQ(dialogs.shown[0].title, L"№68 Устройство недоступно");
    EXPECT_EQ(dialogs.shown[0].style, 48);
    EXPECT_EQ(form->Drive1.Drive().substr(0, 2), L"c:");
    EXPECT_EQ(form->Dir1.Path(), dir.Path());
}

TEST_F(NavigationTest, DirectoryListShowsTheWayDownThenTheSubfolders) {
    Enter(dir.Path() + L"\\Отчёты");
    std::vector<std::wstring> items = Items(Dir1);
    const size_t depth = items.size() - 1;  // the last is the one sub-folder, "2026"
    EXPECT_EQ(items[0], L"c:\\");
    EXPECT_EQ(items[depth - 1], L"Отчёты");
    EXPECT_EQ(items[depth], L"2026");
    EXPECT_EQ(SendMessageW(Item(Dir1), LB_GETCURSEL, 0, 0), static_cast<LRESULT>(depth - 1));

    ClickItem(Dir1, static_cast<int>(depth));  // one click only highlights
    EXPECT_EQ(form->Dir1.Path(), dir.Path() + L"\\Отчёты");
    EXPECT_EQ(form->Text1.Text(), dir.Path() + L"\\Отчёты");  // the mouse-up copies the path
    ClickItem(Dir1, static_cast<int>(depth), true);
    EXPECT_EQ(form->Dir1.Path(), dir.Path() + L"\\Отчёты\\2026");
    EXPECT_EQ(form->File1.Path(), dir.Path() + L"\\Отчёты\\2026");
    EXPECT_EQ(form->Text1.Text(), dir.Path() + L"\\Отчёты\\2026");

    SendMessageW(Item(Dir1), LB_SETCURSEL, depth - 2, 0);  // Enter opens the highlighted folder
    SetFocus(Item(Dir1));
    Press(VK_RETURN);
    EXPECT_EQ(form->Dir1.Path(), dir.Path());
}

TEST_F(NavigationTest, TypingAMaskFiltersTheFileList) {
    Enter(dir.Path() + L"\\Отчёты");
    form->Text3.SetText(L"");
    EXPECT_EQ(form->File1.Pattern(), L"");
    SetFocus(Item(Text3));
    std::vector<std::wstring> seen;
    for (wchar_t c : std::wstring(L"*.txt")) {
        PostMessageW(Item(Text3), WM_CHAR, c, 1);
        Pump();
        seen.push_back(form->File1.Pattern());
    }
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"*", L"*.", L"*.t", L"*.tx", L"*.txt"}));
    EXPECT_EQ(Items(File1), (std::vector<std::wstring>{L"a.TXT", L"b.txt"}));
    form->Text3.SetText(L"*.doc; a*");
    EXPECT_EQ(Items(File1), (std::vector<std::wstring>{L"a.TXT", L"c.doc"}));
}

TEST_F(NavigationTest, PickerMovesOnlyThePathBoxAndTheFileList) {
    Enter(dir.Path());
    dialogs.pickerAnswer = L"  " + dir.Path() + L"\\Отчёты  ";
    SendMessageW(Item(Command1), BM_CLICK, 0, 0);
    Pump();
    ASSERT_EQ(dialogs.pickerTitles.size(), 1u);
    EXPECT_EQ(dialogs.pickerTitles[0], L"Выберите папку и получите путь для Хэша");
    EXPECT_EQ(form->Text1.Text(), dir.Path() + L"\\Отчёты");
    EXPECT_EQ(form->File1.Path(), dir.Path() + L"\\Отчёты");
    EXPECT_EQ(form->Dir1.Path(), dir.Path());

    dialogs.pickerAnswer = L"";  // cancelled: nothing changes
    form->Text1.SetText(L"unchanged");
    SendMessageW(Item(Command1), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(form->Text1.Text(), L"unchanged");
    EXPECT_EQ(form->File1.Path(), dir.Path() + L"\\Отчёты");
}

TEST_F(NavigationTest, GoToPathWhileBusyDoesNothing) {
    Enter(dir.Path());
    dialogs.onMessage = [&] { GoToPath(dir.Path() + L"\\Архив"); };  // runs while the recovery box is open
    GoToPath(dir.Path() + L"\\Missing");
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(form->Dir1.Path(), dir.Path());
    dialogs.onMessage = nullptr;
    GoToPath(dir.Path() + L"\\Архив");  // and it is free again afterwards
    EXPECT_EQ(form->Dir1.Path(), dir.Path() + L"\\Архив");
}

}  // namespace
