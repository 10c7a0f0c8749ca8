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
        for (const wchar_t* name : {L"b.txt", L"a.TXT", L"c.doc", L"ґ.log", L"скрытый.txt"}) dir.Write(L"Отчёты\\" + std::wstring(name), "x");
        SetFileAttributesW((dir.Path() + L"\\Отчёты\\скрытый.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    // Puts a path into the path box (as a paste does) and presses Enter there.
    void Enter(const std::wstring& path, int shift = 0) {
        TabTo(Text1);
        if (!path.empty()) form->Text1.SetText(path);
        Press(VK_RETURN, shift);
    }
    TempFolder dir{L"навигация "};
};

TEST_F(NavigationTest, EnterOnAFolderMovesTheListsThere) {
    const std::wstring reports = dir.Path() + L"\\Отчёты";
    const struct {
        std::wstring typed;
        int shift;
    } cases[] = {{reports + L"\\", 0}, {reports, 1}, {reports, 2}, {L"  \"" + reports + L"\" ", 0}};  // Enter, Shift, Ctrl; a pasted "path"
    for (const auto& c : cases) {
        Enter(L"Z:\\tmp");
        EXPECT_EQ(form->Drive1.Drive().substr(0, 2), L"z:");
        Enter(c.typed, c.shift);
        EXPECT_EQ(form->Dir1.Path(), reports);  // read back without the trailing backslash
        EXPECT_EQ(form->File1.Path(), reports);
        EXPECT_EQ(form->Drive1.Drive().substr(0, 2), L"c:");
        EXPECT_TRUE(dialogs.shown.empty()) << c.typed;
    }
    EXPECT_EQ(form->Text1.Text(), reports);  // the quotes are gone
}

TEST_F(NavigationTest, PathErrorsAreReportedAndLeaveTheListsWhereTheyWere) {
    Enter(dir.Path());
    const struct {
        std::wstring typed, prompt, title, pathBoxAfter;
    } cases[] = {
        {dir.Path() + L"\\Missing\\Deeper", L"Ошибка пути: '" + dir.Path() + L"\\Missing\\Deeper'", L"Путь не найден76",
         dir.Path() + L"\\Missing\\"},
        {L"", L"Ошибка пути: ''", L"Путь не найден76", L""},
        {L"C:\\bad|name", L"Неверное имя или номер файла№52", L"Неверное имя или номер файла52", L"C:\\bad|name"},
    };
    for (const auto& c : cases) {
        dialogs.shown.clear();
        form->Text1.SetText(c.typed);
        Enter(L"");
        ASSERT_EQ(dialogs.shown.size(), 1u) << c.typed;
        EXPECT_EQ(dialogs.shown[0].prompt, c.prompt);
        EXPECT_EQ(dialogs.shown[0].title, c.title);
        EXPECT_EQ(dialogs.shown[0].style, 48);
        EXPECT_EQ(form->Text1.Text(), c.pathBoxAfter);
        EXPECT_EQ(form->Dir1.Path(), dir.Path());
        EXPECT_EQ(Focused(), Text1) << "the focus comes back to the path box";
    }
    form->Text1.SetText(cases[0].typed);  // Enter again and again walks up to a folder that exists
    for (int i = 0; i < 3; ++i) Press(VK_RETURN);
    EXPECT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(form->Dir1.Path(), dir.Path());
    EXPECT_EQ(form->File1.Path(), dir.Path());
}

TEST_F(NavigationTest, TypingADriveLetterInTheDriveListChoosesIt) {
    ASSERT_EQ(Focused(), Drive1);
    Press('Z');
    EXPECT_EQ(form->Drive1.Drive().substr(0, 2), L"z:");
    EXPECT_EQ(form->Dir1.Path().substr(0, 2), L"Z:");
    std::wstring driveWhileOpen;
    dialogs.onMessage = [&] { driveWhileOpen = form->Drive1.Drive(); };
    Press('R');  // a drive that is not ready: reported, and the list goes back
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(driveWhileOpen.substr(0, 2), L"r:");
    EXPECT_EQ(dialogs.shown[0].prompt, L"Устройство недоступно: '" + driveWhileOpen + L"'");
    EXPECT_EQ(dialogs.shown[0].title, L"№68 Устройство недоступно");
    EXPECT_EQ(form->Drive1.Drive().substr(0, 2), L"z:");
    EXPECT_EQ(Focused(), Drive1);
    Press('C');
    EXPECT_EQ(form->Dir1.Path().substr(0, 2), L"C:");
}

TEST_F(NavigationTest, DriveListOpensWithItsDrivesVisible) {
    Click(Drive1, {10, 10});
    COMBOBOXINFO info{sizeof info, {}, {}, 0, {}, {}, {}};
    RECT list{};
    EXPECT_TRUE(GetComboBoxInfo(Item(Drive1), &info) && GetWindowRect(info.hwndList, &list) && IsWindowVisible(info.hwndList));
    const LRESULT drives = SendMessageW(Item(Drive1), CB_GETCOUNT, 0, 0);  // C:, the drive that is not ready, Z:
    EXPECT_GE(list.bottom - list.top, std::max<LRESULT>(drives, 3) * SendMessageW(Item(Drive1), CB_GETITEMHEIGHT, 0, 0));
    Press(VK_ESCAPE);
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

    Press(VK_UP);  // Enter opens the highlighted folder
    Press(VK_UP);
    Press(VK_RETURN);
    EXPECT_EQ(form->Dir1.Path(), dir.Path());
}

TEST_F(NavigationTest, TheFileListShowsWhatTheMaskSelectsAsTheToolDoes) {
    Enter(dir.Path() + L"\\Отчёты");
    TabTo(Text3);
    Press(VK_END);
    Press(VK_HOME, 1);
    std::vector<std::wstring> seen;
    for (wchar_t c : std::wstring(L"*.txt")) {
        Type(std::wstring(1, c));
        seen.push_back(form->File1.Pattern());
    }
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"*", L"*.", L"*.t", L"*.tx", L"*.txt"}));
    const struct {
        const wchar_t* mask;
        std::vector<std::wstring> files;
    } cases[] = {
        {L"*.txt", {L"a.TXT", L"b.txt", L"скрытый.txt"}},  // hidden files too: the tool hashes them
        {L"*.doc, Ґ*", {L"c.doc", L"ґ.log"}},                // ',' separates as ';' does; case beyond ASCII
        {L"", {L"a.TXT", L"b.txt", L"c.doc", L"ґ.log", L"скрытый.txt"}},
    };
    for (const auto& c : cases) {
        form->Text3.SetText(c.mask);
        EXPECT_EQ(Items(File1), c.files) << c.mask;
    }
}

TEST_F(NavigationTest, PickedFolderMovesAllThreeLists) {
    Enter(L"Z:\\tmp");
    dialogs.pickerAnswer = L"  " + dir.Path() + L"\\Отчёты  ";
    Click(Command1, {5, 5});
    ASSERT_EQ(dialogs.pickerTitles.size(), 1u);
    EXPECT_EQ(dialogs.pickerTitles[0], L"Выберите папку и получите путь для Хэша");
    EXPECT_EQ(form->Text1.Text(), dir.Path() + L"\\Отчёты");
    EXPECT_EQ(form->File1.Path(), dir.Path() + L"\\Отчёты");
    EXPECT_EQ(form->Dir1.Path(), dir.Path() + L"\\Отчёты");
    EXPECT_EQ(form->Drive1.Drive().substr(0, 2), L"c:");
    EXPECT_EQ(Focused(), Command1);

    dialogs.pickerAnswer = L"";  // cancelled: nothing changes
    form->Text1.SetText(L"unchanged");
    Press(VK_SPACE);
    EXPECT_EQ(form->Text1.Text(), L"unchanged");
    EXPECT_EQ(form->Dir1.Path(), dir.Path() + L"\\Отчёты");
}

TEST_F(NavigationTest, FoldersDroppedOrGivenOnStartAreTakenAsTyped) {
    const std::wstring reports = dir.Path() + L"\\Отчёты", missing = dir.Path() + L"\\Нет такой";
    const struct {
        std::vector<std::wstring> paths;
        std::wstring lists, pathBox;
        size_t boxes;
    } cases[] = {
        {{reports}, reports, reports, 0},
        {{reports + L"\\b.txt"}, reports, reports, 0},  // a file: its folder
        {{missing, reports}, dir.Path(), dir.Path() + L"\\", 1},  // the first counts; missing: the path-error box
    };
    for (bool drop : {true, false}) {
        for (const auto& c : cases) {
            Enter(dir.Path());
            dialogs.shown.clear();
            if (drop) PostMessageW(form->Window().Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(test::DropOf(c.paths)), 0);
            else form->OpenFolder(L"\"" + c.paths[0] + L"\"");  // as the command line gives it
            Pump();
            EXPECT_EQ(form->Dir1.Path(), c.lists) << c.paths[0];
            EXPECT_EQ(form->Text1.Text(), c.pathBox);
            EXPECT_EQ(dialogs.shown.size(), c.boxes);
        }
    }
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
