#include "platform/win.h"

#include <commctrl.h>

#include "app/app_dir.h"
#include "gui_fixture.h"

namespace {

using namespace app;
using test::FormTest;

struct Expected {
    Element element;
    const wchar_t* cls;
    RECT px;  // left, top, width, height at 96 DPI; a label's size is its text's
    const wchar_t* caption;
    const wchar_t* hint;
};

const Expected Elements[] = {
    {Drive1, L"ComboBoxEx32", {8, 8, 201, 21}, nullptr, nullptr},
    {Dir1, L"ListBox", {8, 40, 201, 636}, nullptr, nullptr},
    {File1, L"ListBox", {216, 40, 201, 639}, nullptr, nullptr},
    {Text1, L"Edit", {216, 8, 705, 19}, L"",
     L"Путь для формирования хэша, можно скопипастить сюда свой и нажать Enter для выбора."},
    {Command1, L"Button", {928, 8, 25, 25}, L"...", L"Выбор папки для хэша"},
    {Frame1, L"Button", {424, 32, 529, 105}, L"", nullptr},
    {Check1_0, L"Button", {432, 56, 49, 17}, L"md5", L"Тип хэша md5"},
    {Check1_1, L"Button", {432, 72, 49, 17}, L"sha1", L"Тип хэша sha1"},
    {Label1, L"Static", {432, 40, 92, 13}, L"Тип хеширования:", nullptr},
    {Text4, L"Edit", {424, 160, 529, 19}, L"",
     L"Консольный вариант для запуска с консоли с соответствующими настройками и путями."},
    {Check2, L"Button", {536, 40, 233, 17}, L"Формировать для вложенных каталогов",
     L"Будьте внимательны, когда выбираете этот пункт! При большом объёме/количественно вложенных папок/файлов "
     L"процедура хэширования может занять длительное время."},
    {Text6, L"Edit", {424, 184, 529, 489}, L"", L"Здесь выводятся данные по файлам и хэшам к ним."},
    {Command2, L"Button", {824, 104, 121, 25}, L"Формировать", nullptr},
    {Text3, L"Edit", {432, 112, 201, 19}, L"*.*", L"Задаётся маска для выбора файлов"},
    {Label2, L"Static", {432, 96, 43, 13}, L"Маска:", nullptr},
    {Check3, L"Button", {536, 56, 409, 17}, L"Не сохранять полный путь (по умолчанию сохраняет полный путь к файлу).",
     L"Сохраняет только имя файла без пути."},
    {Label3, L"Static", {424, 144, 125, 13}, L"Консольное выражение:", nullptr},
    {Check4, L"Button", {648, 112, 113, 17}, L"Сохранять в файл",
     L"Сохраняет данные в текстовый файл. Маска файла \"hash_ДАТА_Секунды.txt\""},
    {Line1, L"Static", {528, 40, 1, 56}, L"", nullptr},
    {Line2, L"Static", {432, 96, 512, 1}, L"", nullptr},
};

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64];
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring HintOf(HWND form, HWND control) {
    HWND tip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM out) {
        if (ClassOf(h) == TOOLTIPS_CLASSW) *reinterpret_cast<HWND*>(out) = h;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&tip));
    wchar_t text[512] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = form;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    if (!tip || !SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return L"(none)";
    SendMessageW(tip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    return text;
}

TEST_F(FormTest, ElementsStandWhereTheLayoutPutsThem) {
    const HWND hwnd = form->Window().Hwnd();
    for (const Expected& e : Elements) {
        SCOPED_TRACE(Layout[e.element].name);
        const HWND item = Item(e.element);
        EXPECT_EQ(ClassOf(item), e.cls);
        RECT rc;
        GetWindowRect(item, &rc);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(rc.left, e.px.left);
        EXPECT_EQ(rc.top, e.px.top);
        if (e.element == Drive1) {  // a combo box's field is as high as its icons need
            EXPECT_EQ(rc.right - rc.left, e.px.right);
            EXPECT_NEAR(rc.bottom - rc.top, e.px.bottom, 2);
        } else if (Layout[e.element].kind == platform::ControlKind::Label) {  // as large as its text, within its place
            EXPECT_LE(rc.right - rc.left, e.px.right + 2);
            EXPECT_GT(rc.right - rc.left, e.px.right * 3 / 4);
            EXPECT_NEAR(rc.bottom - rc.top, e.px.bottom, 1);
        } else {
            EXPECT_EQ(rc.right - rc.left, e.px.right);
            EXPECT_EQ(rc.bottom - rc.top, e.px.bottom);
        }
        if (e.caption) {
            EXPECT_EQ(platform::WindowText(item), e.caption);
        }
        EXPECT_EQ(HintOf(hwnd, item), e.hint ? e.hint : L"(none)");
    }
}

TEST_F(FormTest, WindowIsFixedSizeWithItsTitle) {
    const HWND hwnd = form->Window().Hwnd();
    EXPECT_EQ(platform::WindowText(hwnd), L"Хэш md5, sha1");
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 960);
    EXPECT_EQ(client.bottom, 683);
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(GetClassLongPtrW(hwnd, GCLP_HICON));
}

TEST_F(FormTest, OpensWithItsInitialValues) {
    EXPECT_EQ(form->Check1(0).Value(), 1);
    EXPECT_EQ(form->Check1(1).Value(), 0);
    EXPECT_EQ(form->Check1(0).Tag, L"-md5");
    EXPECT_EQ(form->Check1(1).Tag, L"-sha1");
    for (auto* box : {&form->Check2, &form->Check3, &form->Check4}) EXPECT_EQ(box->Value(), 0);
    EXPECT_EQ(form->Text3.Text(), L"*.*");
    EXPECT_EQ(form->File1.Pattern(), L"*.*");
    for (auto* box : {&form->Text1, &form->Text4, &form->Text6}) EXPECT_EQ(box->Text(), L"");
    EXPECT_TRUE(form->Command1.Enabled());
    EXPECT_TRUE(form->Command2.Enabled());
    EXPECT_EQ(Focused(), Drive1);
}

TEST_F(FormTest, ResultBoxTakesLongLinesAndLongReportsWhole) {
    const LONG_PTR style = GetWindowLongPtrW(Item(Text6), GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_TRUE(style & ES_AUTOHSCROLL);  // no wrapping
    std::wstring report;
    for (int i = 0; i < 200000; ++i) report += L"C:\\data\\file" + std::to_wstring(i) + L".txt\r\nMD5:0123456789abcdef\r\n";
    form->Text6.SetText(report);
    EXPECT_EQ(form->Text6.Text().size(), report.size());
    EXPECT_TRUE(GetWindowLongPtrW(Item(Text4), GWL_STYLE) & ES_READONLY);
}

TEST_F(FormTest, TabVisitsTheFocusOrderBothWays) {
    const Element order[] = {Dir1, File1, Text1, Command1, Check1_0, Check1_1, Text4,
                             Check2, Text6, Command2, Text3, Check3, Check4, Drive1};
    for (Element e : order) {
        Press(VK_TAB);
        EXPECT_EQ(Focused(), e) << Layout[e].name;
    }
    for (int i = static_cast<int>(std::size(order)) - 2; i >= -1; --i) {
        Press(VK_TAB, 1);
        EXPECT_EQ(Focused(), i >= 0 ? order[i] : Drive1);
    }
}

TEST_F(FormTest, F1ShowsHelpFromEveryKindOfElement) {
    const std::wstring help =
        L"1. Выберите каталог для хэширования\r\n2. Выберите тип хэширования и др. параметры\r\n"
        L"3. Жмите кнопку 'Формировать'\r\n\r\nTallymere\r\nВерсия 1.0\r\nhttps://github.com/tallymere/tallymere";
    const struct {
        Element element;
        int shift;
    } cases[] = {{Drive1, 0}, {Dir1, 0}, {Text1, 1}, {Check2, 2}, {Command2, 0}, {Text6, 0}};
    for (const auto& c : cases) {
        dialogs.shown.clear();
        SetFocus(Item(c.element));
        Press(VK_F1, c.shift);
        ASSERT_EQ(dialogs.shown.size(), 1u) << Layout[c.element].name;
        EXPECT_EQ(dialogs.shown[0].prompt, help);
        EXPECT_EQ(dialogs.shown[0].title, L"Помощь");
        EXPECT_EQ(dialogs.shown[0].style, 64);
    }
}

TEST_F(FormTest, OtherKeysShowNoHelp) {
    SetFocus(Item(Check1_0));
    for (UINT key : {UINT{VK_F2}, UINT{VK_F12}, UINT{VK_RETURN}, UINT{VK_ESCAPE}, UINT{0x41}}) Press(key);
    SetFocus(Item(Text3));
    Press(VK_RETURN);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FormTest, AppDirIsTheProgramsFolderWithOneBackslash) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder = exe;
    folder.erase(folder.find_last_of(L'\\') + 1);
    EXPECT_EQ(form->AppDir, folder);
    // Run from a drive's root, the tool's folder is that root with its one backslash.
    if (const char* expected = std::getenv("TALLYMERE_EXPECTED_APPDIR")) {
        EXPECT_EQ(form->AppDir, std::wstring(expected, expected + strlen(expected)));
    }
}

}  // namespace
