#include <algorithm>
#include <cwctype>
#include <tuple>

#include "gui_fixture.h"
#include "logic/texts.h"

namespace {

using namespace app;
using test::FormTest;
using test::TempFolder;

class NavigationTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        dir.Make(L"Отчёты\\2026");
        for (const wchar_t* name : {L"b.txt", L"a.TXT", L"c.doc", L"ґ.log", L"скрытый.txt"}) dir.Write(L"Отчёты\\" + std::wstring(name), "x");
        SetFileAttributesW((reports + L"\\скрытый.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    // Puts a path into the path box (as a paste does) and presses Enter there.
    void Enter(const std::wstring& path, int shift = 0) {
        TabTo(Text1);
        if (!path.empty()) form->Text1.SetText(path);
        Press(VK_RETURN, shift);
    }
    // An item of an owner-drawn list as the window draws it, into a bitmap of the item's height; its pixels row by row.
    std::vector<COLORREF> Drawn(int element, int item, UINT state, int width) {
        const HWND list = Item(element);
        const bool combo = element == Drive1;
        const RECT rc{0, 0, width, static_cast<int>(SendMessageW(list, combo ? CB_GETITEMHEIGHT : LB_GETITEMHEIGHT, 0, 0))};
        BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -rc.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        void* bits = nullptr;
        const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, bitmap);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
        const auto id = static_cast<UINT>(GetDlgCtrlID(list));
        DRAWITEMSTRUCT draw{static_cast<UINT>(combo ? ODT_COMBOBOX : ODT_LISTBOX), id, static_cast<UINT>(item), ODA_DRAWENTIRE, state, list, dc, rc, 0};
        SendMessageW(form->Window().Hwnd(), WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&draw));
        GdiFlush();
        std::vector<COLORREF> pixels;
        for (const auto* p = static_cast<const DWORD*>(bits); pixels.size() < static_cast<size_t>(width * rc.bottom); ++p)
            pixels.push_back(RGB(*p >> 16 & 255, *p >> 8 & 255, *p & 255));
        DeleteDC(dc);
        DeleteObject(bitmap);
        return pixels;
    }
    TempFolder dir{L"навигация "};
    const std::wstring reports = dir.Path() + L"\\Отчёты";
};

TEST_F(NavigationTest, EnterInThePathBoxMovesTheListsOrReportsThePath) {
    const std::wstring missing = dir.Path() + L"\\Missing\\Deeper", bad = L"Неверное имя или номер файла";
    // shift: 1 Shift, 2 Ctrl; no prompt: no box.
    const struct { std::wstring typed; int shift; std::wstring lists, pathBox, prompt, title; } cases[] = {
        {reports + L"\\", 0, reports, reports + L"\\", L"", L""},
        {reports, 1, reports, reports, L"", L""},
        {reports, 2, reports, reports, L"", L""},
        {L"  \"" + reports + L"\" ", 0, reports, reports, L"", L""},  // a pasted "path"
        {missing, 0, L"Z:\\tmp", dir.Path() + L"\\Missing\\", L"Ошибка пути: '" + missing + L"'", L"Путь не найден76"},
        {L"", 0, L"Z:\\tmp", L"", L"Ошибка пути: ''", L"Путь не найден76"},
        {L"C:\\bad|name", 0, L"Z:\\tmp", L"C:\\bad|name", bad + L"№52", bad + L"52"},
    };
    for (const auto& c : cases) {
        Enter(L"Z:\\tmp");
        dialogs.shown.clear();
        form->Text1.SetText(c.typed);
        Press(VK_RETURN, c.shift);
        EXPECT_EQ(form->Dir1.Path() + L"|" + form->File1.Path(), c.lists + L"|" + c.lists) << c.typed;
        EXPECT_EQ(form->Drive1.Drive()[0], std::towlower(c.lists[0]));
        EXPECT_EQ(form->Text1.Text(), c.pathBox);
        EXPECT_EQ(dialogs.shown, (c.prompt.empty() ? std::vector<test::Shown>{} : std::vector<test::Shown>{{c.prompt, 48, c.title}}));
        EXPECT_EQ(Focused(), Text1) << "the focus comes back to the path box";
    }
    Click(Item(Command1));  // the picker cancelled: nothing moves, no box
    Pump();
    EXPECT_EQ(Focused(), Command1);  // clicked
    EXPECT_EQ(form->Dir1.Path() + form->Text1.Text() + std::to_wstring(dialogs.shown.size()), L"Z:\\tmpC:\\bad|name1");
    dialogs.picked = L" \"" + reports + L"\" ";  // a folder picked: taken as typed and entered
    Click(Item(Command1));
    EXPECT_EQ(form->Dir1.Path() + L"|" + form->File1.Path() + L"|" + form->Text1.Text(), reports + L"|" + reports + L"|" + reports);
}

TEST_F(NavigationTest, TypingADriveLetterInTheDriveListChoosesIt) {
    ASSERT_EQ(Focused(), Drive1);
    const LRESULT drives = SendMessageW(Item(Drive1), CB_GETCOUNT, 0, 0);
    ASSERT_TRUE(DefineDosDeviceW(0, L"Q:", dir.Path().c_str()));  // a drive mapped since the window opened
    Press(VK_F4);  // dropped down: the drives read again, each once, and shown whole, not a sliver
    RECT shown{};
    GetWindowRect(FindWindowW(L"ComboLBox", nullptr), &shown);  // the open list, a window of its own on the test's desktop
    EXPECT_GE(shown.bottom - shown.top, 3 * SendMessageW(Item(Drive1), CB_GETITEMHEIGHT, 0, 0));
    Press(VK_ESCAPE);
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"Q:", nullptr);
    EXPECT_EQ(SendMessageW(Item(Drive1), CB_GETCOUNT, 0, 0), drives + 1);
    Press('Z');
    EXPECT_EQ(form->Drive1.Drive().substr(0, 2) + form->Dir1.Path().substr(0, 2), L"z:Z:");
    std::wstring driveWhileOpen;
    dialogs.onMessage = [&] { driveWhileOpen = form->Drive1.Drive(); };
    Press('R');  // a drive that is not ready: reported, and the list goes back
    EXPECT_EQ(driveWhileOpen.substr(0, 2), L"r:");
    EXPECT_EQ(dialogs.shown, (std::vector<test::Shown>{{L"Устройство недоступно: '" + driveWhileOpen + L"'", 48, L"№68 Устройство недоступно"}}));
    EXPECT_EQ(form->Drive1.Drive().substr(0, 2), L"z:");
    Press('C');
    EXPECT_EQ(form->Dir1.Path().substr(0, 2), L"C:");
    Enter(reports);  // each drive keeps the folder the lists last showed on it
    TabTo(Drive1);
    Press('Z');
    Press('C');
    EXPECT_EQ(form->Dir1.Path(), reports);
}

TEST_F(NavigationTest, DirectoryListShowsTheWayDownThenTheSubfolders) {
    Enter(reports);
    std::vector<std::wstring> items = Items(Dir1);
    const size_t depth = items.size() - 1;  // the last is the one sub-folder, "2026"
    EXPECT_EQ(items[0] + items[depth - 1] + items[depth], L"c:\\Отчёты2026");
    EXPECT_EQ(SendMessageW(Item(Dir1), LB_GETCURSEL, 0, 0), static_cast<LRESULT>(depth - 1));
    // Drawn: each folder one step further in than the one above it, the sub-folder one step in from the open one;
    // the highlighted one in the system's colours for it.
    const int width = 300, step = MulDiv(10, static_cast<int>(GetDpiForWindow(Item(Dir1))), 96);
    const auto firstColumn = [&](const std::vector<COLORREF>& pixels, COLORREF background) {
        int first = width;
        for (size_t p = 0; p < pixels.size(); ++p)
            if (pixels[p] != background) first = std::min(first, static_cast<int>(p % width));
        return first;
    };
    for (size_t i = 2; i <= depth; ++i)
        EXPECT_EQ(firstColumn(Drawn(Dir1, static_cast<int>(i), 0, width), GetSysColor(COLOR_WINDOW)) -
                      firstColumn(Drawn(Dir1, static_cast<int>(i - 1), 0, width), GetSysColor(COLOR_WINDOW)), step) << i;
    EXPECT_LT(firstColumn(Drawn(Dir1, 1, 0, width), GetSysColor(COLOR_WINDOW)), 3 * step) << "no icon before the name";
    EXPECT_GE(SendMessageW(Item(Dir1), LB_GETITEMHEIGHT, 0, 0), 8 * step / 5 + 2);  // rows with room for their icons
    const auto count = [&](const std::vector<COLORREF>& pixels, int colour) {  // in the text, right of the icon
        int n = 0;
        for (size_t p = 0; p < pixels.size(); ++p) n += pixels[p] == GetSysColor(colour) && static_cast<int>(p % width) >= 11 * step / 5;
        return n;
    };
    const std::vector<COLORREF> highlighted = Drawn(Dir1, 0, ODS_SELECTED, width), plain = Drawn(Dir1, 0, 0, width), drive = Drawn(Drive1, 0, 0, width);
    EXPECT_GT(count(highlighted, COLOR_HIGHLIGHT), 0);
    EXPECT_GT(count(highlighted, COLOR_HIGHLIGHTTEXT), 0);  // the letters alone, on the highlight: no box of their own
    EXPECT_LT(count(highlighted, COLOR_HIGHLIGHTTEXT), 2 * count(plain, COLOR_WINDOWTEXT));
    EXPECT_TRUE(count(drive, COLOR_WINDOW) && count(drive, COLOR_WINDOWTEXT) && !count(drive, COLOR_HIGHLIGHT));  // the drive list too
    form->Text1.SetText(L"");
    ClickItem(Dir1, static_cast<int>(depth));  // one click only highlights; the mouse-up copies the path
    EXPECT_EQ(form->Dir1.Path() + form->Text1.Text(), reports + reports);
    ClickItem(Dir1, static_cast<int>(depth), true);
    EXPECT_EQ(form->File1.Path(), reports + L"\\2026");
    EXPECT_EQ(form->Text1.Text(), reports + L"\\2026");
    Press(VK_UP);  // Enter opens the highlighted folder
    Press(VK_UP);
    Press(VK_RETURN);
    EXPECT_EQ(form->Dir1.Path(), dir.Path());
}

TEST_F(NavigationTest, DroppedFoldersAreTakenAsTyped) {
    const std::wstring missing = dir.Path() + L"\\Нет такой", file = reports + L"\\b.txt", odd = dir.Write(L"x;y,z.txt", "");
    using Seen = std::tuple<std::wstring, std::wstring, size_t, std::wstring, std::wstring, size_t>;  // lists, path box, boxes, status, mask, files
    const struct { std::vector<std::wstring> paths; Seen seen; } cases[] = {
        {{file}, {reports, reports, 0, texts::NotAListOpened + file, L"b.txt", 1}},  // a file: its folder and its name, and the window says so
        {{odd}, {dir.Path(), dir.Path(), 0, texts::NotAListOpened + odd, L"x?y?z.txt", 1}},  // no mask separator in the mask
        {{missing, reports}, {dir.Path(), dir.Path() + L"\\", 1, texts::OnlyFirstDropped[0] + (L"2" + (texts::OnlyFirstDropped[1] + missing)), L"*.*", 1}},
    };  // of two, the first counts; missing: the path-error box
    for (const auto& c : cases) {
        Enter(dir.Path());
        dialogs.shown.clear();
        form->Text4.SetText(L"");
        form->Text3.SetText(L"*.*");
        PostMessageW(form->Window().Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(test::DropOf(c.paths)), 0);
        Pump();
        EXPECT_EQ(Seen(form->Dir1.Path(), form->Text1.Text(), dialogs.shown.size(), form->Text4.Text(), form->Text3.Text(), Items(File1).size()), c.seen);
    }
}

}  // namespace
