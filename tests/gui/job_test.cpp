#include "gui_fixture.h"
#include "job/process_search.h"
#include "platform/files.h"

namespace {

using namespace app;
using test::FormTest;
using test::TempFolder;

class JobTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form->AppDir = app.Path() + L"\\";
        app::FormProbe::GoToPath(*form, data.Path());
    }
    TempFolder app{L"программа с пробелом "};
    TempFolder data{L"данные "};
};

TEST_F(JobTest, AMissingToolEndsWithTheEmptyDatabaseMessage) {
    app.Write(L"dbsha.xml", "old");
    form->Text6.SetText(L"earlier");
    TabTo(Command2);
    Press(VK_SPACE);  // the job runs inside the press; the tool is never started
    EXPECT_EQ(dialogs.shown, (std::vector<test::Shown>{{L"Файл пуст.\r" + form->AppDir + L"dbsha.xml", 64, L""}}));  // old one deleted
    EXPECT_EQ(form->Text6.Text(), L"earlier");
    EXPECT_EQ(form->Text4.Text(), L"FCIV \"" + data.Path() + L"\" -md5 -xml \"" + form->AppDir + L"dbsha.xml\"");
    EXPECT_TRUE(form->Command2.Enabled());
}

// The queued input below is handled in the job's first pause; a key press would
// wait behind it, so the job is started with BM_CLICK.
TEST_F(JobTest, WindowStaysLiveWhileASlowToolRuns) {
    ASSERT_TRUE(CopyFileW((platform::ExecutableFolder() + L"\\stand_in.exe").c_str(), (form->AppDir + L"fciv.exe").c_str(), FALSE));
    shell.runTool = true;
    SetEnvironmentVariableW(L"TALLYMERE_STANDIN_MS", L"3000");
    bool enabledDuringJob = true;
    dialogs.onMessage = [&] { enabledDuringJob = form->Command2.Enabled(); };
    PostMessageW(Item(Text1), WM_KEYDOWN, VK_F1, 1);
    PostMessageW(Item(Text1), WM_KEYUP, VK_F1, static_cast<LPARAM>(0xC0000001u));
    PostMessageW(Item(Check2), BM_SETCHECK, BST_CHECKED, 0);  // read after the pause: counts
    PostMessageW(Item(Check1_1), BM_SETCHECK, BST_CHECKED, 0);  // read before it: does not
    const std::wstring elsewhere = data.Make(L"elsewhere");  // dropped: the lists move, the job's folder stays
    PostMessageW(form->Window().Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(test::DropOf({elsewhere})), 0);
    SendMessageW(Item(Command2), BM_CLICK, 0, 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, L"Помощь");
    EXPECT_FALSE(enabledDuringJob);
    EXPECT_EQ(form->Text4.Text(),
              L"FCIV \"" + data.Path() + L"\" -r -md5 -xml \"" + form->AppDir + L"dbsha.xml\"");
    EXPECT_EQ(form->Text6.Text(), L"stand-in\r\nMD5:0");
    EXPECT_EQ(form->Dir1.Path(), elsewhere);
    EXPECT_TRUE(form->Command2.Enabled());
}

TEST_F(JobTest, ClosingTheWindowDuringAJobEndsIt) {
    PostMessageW(form->Window().Hwnd(), WM_CLOSE, 0, 0);
    SendMessageW(Item(Command2), BM_CLICK, 0, 0);  // the close comes in the job's first pause
    EXPECT_FALSE(IsWindow(form->Window().Hwnd()));
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));  // the program's loop ends next
}

TEST(ProcessSearch, ImageNamesContainingTheNameInAnyCaseCountAndNoHandleIsLeft) {
    DWORD before = 0, after = 0;
    GetProcessHandleCount(GetCurrentProcess(), &before);
    for (int i = 0; i < 50; ++i) {  // this test program is running as gui_tests.exe
        EXPECT_EQ(job::IsProcessRunning(L"gui_tests.exe") + job::IsProcessRunning(L"GUI_TESTS.EXE") + job::IsProcessRunning(L"i_TESTS"), 3);
        EXPECT_EQ(job::IsProcessRunning(L"gui_tests.exe2"), 0);
    }
    GetProcessHandleCount(GetCurrentProcess(), &after);
    EXPECT_EQ(after, before);
}

}  // namespace
