#include "platform/win.h"

#include <commctrl.h>

#include "gui_fixture.h"

namespace {

using namespace app;
using test::FormTest;

std::wstring HintOf(HWND form, HWND control) {
    const HWND tip = FindWindowW(TOOLTIPS_CLASSW, nullptr);  // the only one on the test's own desktop
    wchar_t text[512] = L"";
    TTTOOLINFOW tool{sizeof tool, 0, form, reinterpret_cast<UINT_PTR>(control), {}, nullptr, text, 0, nullptr};
    if (!tip || !SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return L"(none)";
    SendMessageW(tip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    return text;
}

RECT PlaceOf(HWND form, HWND item) {
    RECT rc;
    GetWindowRect(item, &rc);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&rc), 2);
    return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

TEST_F(FormTest, OpensFixedSizeWithEveryElementInItsPlace) {
    const HWND hwnd = form->Window().Hwnd();
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 960);
    EXPECT_EQ(client.bottom, 683);
    EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_EQ(platform::WindowText(hwnd), L"Хэш md5, sha1");
    for (int e = 0; e < ElementCount; ++e) {
        const platform::ControlDesc& d = Layout[static_cast<size_t>(e)];
        EXPECT_EQ(HintOf(hwnd, Item(e)), d.hint ? d.hint : L"(none)") << d.name;
        if (e > File1 && d.kind != platform::ControlKind::Line) { EXPECT_EQ(platform::WindowText(Item(e)), d.caption) << d.name; }
    }
    // Places as the design gives them in pixels: 15 twips a pixel at 96 DPI, frames' offsets added.
    EXPECT_EQ(PlaceOf(hwnd, Item(Dir1)).bottom, 636);
    EXPECT_EQ(PlaceOf(hwnd, Item(Text3)).top, 112);
    EXPECT_EQ(PlaceOf(hwnd, Item(Command2)).left, 824);
    EXPECT_EQ(PlaceOf(hwnd, Item(Text6)).bottom, 489);
    EXPECT_EQ(PlaceOf(hwnd, Item(Check3)).right, 409);
    EXPECT_EQ(PlaceOf(hwnd, Item(Line2)).right, 512);
    EXPECT_EQ(form->Check1(0).Value(), 1);
    EXPECT_EQ(form->Check1(1).Value(), 0);
    EXPECT_EQ(form->Check1(0).Tag + form->Check1(1).Tag, L"-md5-sha1");
    for (auto* box : {&form->Check2, &form->Check3, &form->Check4}) EXPECT_EQ(box->Value(), 0);
    EXPECT_EQ(form->File1.Pattern(), L"*.*");
    EXPECT_EQ(Focused(), Drive1);
}

TEST_F(FormTest, TabWalksTheFocusOrderAndF1HelpsFromEveryElement) {
    const std::wstring help =
        L"1. Выберите каталог для хэширования\r\n2. Выберите тип хэширования и др. параметры\r\n"
        L"3. Жмите кнопку 'Формировать'\r\n\r\nTallymere\r\nВерсия 1.0\r\nhttps://github.com/tallymere/tallymere";
    const Element order[] = {Dir1, File1, Text1, Command1, Check1_0, Check1_1, Text4,
                             Check2, Text6, Command2, Text3, Check3, Check4, Drive1};
    for (Element e : order) {
        Press(VK_TAB);
        ASSERT_EQ(Focused(), e) << Layout[e].name;
        dialogs.shown.clear();
        Press(VK_F1, e % 3);  // alone, with Shift, with Ctrl
        EXPECT_EQ(dialogs.shown, (std::vector<test::Shown>{{help, 64, L"Помощь"}})) << Layout[e].name;
        EXPECT_EQ(Focused(), e) << "the focus comes back after the box";
    }
    for (int i = static_cast<int>(std::size(order)) - 2; i >= -1; --i) {
        Press(VK_TAB, 1);
        EXPECT_EQ(Focused(), i >= 0 ? order[i] : Drive1);
    }
    dialogs.shown.clear();
    TabTo(Check1_0);
    for (UINT key : {UINT{VK_F2}, UINT{VK_F12}, UINT{VK_RETURN}, UINT{VK_ESCAPE}}) Press(key);
    TabTo(Text3);
    Press(VK_RETURN);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FormTest, ResultBoxTakesLongReportsWhole) {
    std::wstring report;
    for (int i = 0; i < 20000; ++i) report += L"C:\\data\\file" + std::to_wstring(i) + L".txt\r\nMD5:0123456789abcdef\r\n";
    form->Text6.SetText(report);
    EXPECT_EQ(form->Text6.Text().size(), report.size());
}

TEST_F(FormTest, ADpiChangeKeepsEveryFontAliveWhileInUse) {
    // The font a control holds must still exist when it is handed the next one.
    static bool oldFontAlive = true;
    static WNDPROC next = nullptr;
    next = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(Item(Text1), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(
        +[](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
            if (msg == WM_SETFONT) oldFontAlive &= GetObjectType(reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0))) != 0;
            return CallWindowProcW(next, h, msg, wp, lp);
        })));
    RECT suggested{0, 0, 1440, 1030};
    SendMessageW(form->Window().Hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_TRUE(oldFontAlive);
    EXPECT_EQ(PlaceOf(form->Window().Hwnd(), Item(Command2)).left, 824 * 3 / 2);
}

}  // namespace
