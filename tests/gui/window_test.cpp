#include "gui_fixture.h"
#include "win32/folders.h"

#include <set>
#include <tuple>

namespace {

using namespace app;
using test::FormTest;

// The window opens at its fixed size; at a DPI too large for the screen it is laid out smaller,
// whole and inside the work area.
TEST_F(FormTest, OpensFixedSizeAndAtADpiTooLargeForTheScreenStaysOnIt) {
    const HWND hwnd = form->Window().Hwnd();
    RECT work, suggested{0, 0, 100, 100}, frame, client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(960L, 683L));
    EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(384, 384), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(hwnd, &frame);
    GetClientRect(hwnd, &client);
    EXPECT_LE(frame.bottom - frame.top, work.bottom - work.top);
    EXPECT_LE(frame.right - frame.left, work.right - work.left);
    std::set<std::tuple<LONG, LONG, LONG, LONG>> places;
    for (int i = 0; i < ElementCount; ++i) {
        RECT place;
        GetWindowRect(Item(i), &place);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&place), 2);
        EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= client.right && place.bottom <= client.bottom) << Layout[i].name;
        EXPECT_TRUE(places.insert({place.left, place.top, place.right, place.bottom}).second) << Layout[i].name << " hides another";
    }
}

TEST_F(FormTest, TabWalksTheFocusOrderAndF1HelpsFromEveryElement) {
    const std::wstring help = L"1. Выберите каталог для хэширования\r\n2. Выберите тип хэширования и др. параметры\r\n"
        L"3. Жмите кнопку 'Формировать'\r\nПроверка: перетащите на окно файл сумм, базу fciv или отчёт\r\n\r\nTallymere\r\nВерсия 1.0\r\nhttps://github.com/tallymere/tallymere";
    const Element order[] = {Dir1, File1, Text1, Command1, Check1_0, Check1_1, Check1_2, Text4,
                             Check2, Text6, Command2, Text3, Check3, Check4, Drive1};
    for (Element e : order) {
        Press(VK_TAB);
        ASSERT_EQ(Focused(), e) << Layout[e].name;
        dialogs.shown.clear();
        Press(VK_F1, e % 3);  // alone, with Shift, with Ctrl
        EXPECT_EQ(dialogs.shown, (std::vector<test::Shown>{{help, 64, L"Помощь"}})) << Layout[e].name;
        EXPECT_EQ(Focused(), e) << "the focus comes back after the box";
    }
    Press(VK_F4, 4);  // Alt+F4 from the drive list, where the focus starts
    EXPECT_FALSE(IsWindow(form->Window().Hwnd()));
}

// A drive that does not answer (a network drive gone) leaves the window answering:
// the drives are listed at once, each label shown when it comes.
class SlowDriveTest : public FormTest {
protected:
    static std::wstring Slow(const std::wstring& root) {
        WaitForSingleObject(answer, 20000);
        return L"медленный " + root.substr(0, 1);
    }
    void SetUp() override {
        win32::VolumeLabel = Slow;  // before the window asks for the first labels
        FormTest::SetUp();
    }
    void TearDown() override {
        SetEvent(answer);
        FormTest::TearDown();
        win32::VolumeLabel = reader;
    }
    static inline const HANDLE answer = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    decltype(win32::VolumeLabel) reader = win32::VolumeLabel;
};

TEST_F(SlowDriveTest, ADriveThatDoesNotAnswerDoesNotHoldTheWindow) {
    SendMessageW(Item(Drive1), CB_SHOWDROPDOWN, TRUE, 0);  // the drives are listed again
    SendMessageW(Item(Drive1), CB_SHOWDROPDOWN, FALSE, 0);
    Press(VK_TAB);
    EXPECT_EQ(form->Drive1.Drive(), L"z:") << "the window waited for a drive's answer";
    SetEvent(answer);
    EXPECT_TRUE(PumpUntil([&] { return form->Drive1.Drive() == L"z: [медленный Z]"; })) << "the label never came";
    TabTo(Drive1);
    Press('C');  // the first drive's label came too
    EXPECT_EQ(form->Drive1.Drive(), L"c: [медленный C]");
}

}  // namespace
