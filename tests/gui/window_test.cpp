#include "gui_fixture.h"

namespace {

using namespace app;
using test::FormTest;

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
    EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(960L, 683L));
    EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_EQ(platform::WindowText(hwnd), L"Хэш md5, sha1");
    // Places as the design gives them in pixels: 15 twips a pixel at 96 DPI, frames' offsets added.
    EXPECT_EQ(PlaceOf(hwnd, Item(Text3)).top, 112);
    EXPECT_EQ(PlaceOf(hwnd, Item(Command2)).left, 824);
    EXPECT_EQ(PlaceOf(hwnd, Item(Text6)).bottom, 489);
    EXPECT_EQ(PlaceOf(hwnd, Item(Check3)).right, 409);
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
}

TEST_F(FormTest, ResultBoxTakesLongReportsWhole) {
    std::wstring report;
    for (int i = 0; i < 20000; ++i) report += L"C:\\data\\file" + std::to_wstring(i) + L".txt\r\nMD5:0123456789abcdef\r\n";
    form->Text6.SetText(report);
    EXPECT_EQ(form->Text6.Text().size(), report.size());
}

}  // namespace
