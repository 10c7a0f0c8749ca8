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
    // Presses "Формировать": the job runs inside the press. `during` runs once in the job's first pause,
    // as a person goes on using the window while the tool runs.
    void RunJob(std::function<void()> during = [] {}) {
        static std::function<void()> pending;
        pending = std::move(during);
        SetTimer(form->Window().Hwnd(), 1, 200, [](HWND h, UINT, UINT_PTR id, DWORD) { KillTimer(h, id); pending(); });
        TabTo(Command2);
        Press(VK_SPACE);
    }
    TempFolder app{L"программа с пробелом "};
    TempFolder data{L"данные "};
};

TEST_F(JobTest, AMissingToolEndsWithTheEmptyDatabaseMessage) {
    app.Write(L"dbsha.xml", "old");
    form->Text6.SetText(L"earlier");
    RunJob();  // the tool is never started
    EXPECT_EQ(dialogs.shown, (std::vector<test::Shown>{{L"Файл пуст.\r" + form->AppDir + L"dbsha.xml", 64, L""}}));  // old one deleted
    EXPECT_EQ(form->Text6.Text(), L"earlier");
    EXPECT_EQ(form->Text4.Text(), L"FCIV \"" + data.Path() + L"\" -md5 -xml \"" + form->AppDir + L"dbsha.xml\"");
    EXPECT_TRUE(form->Command2.Enabled());
}

TEST_F(JobTest, WindowStaysLiveWhileASlowToolRuns) {
    ASSERT_TRUE(CopyFileW((platform::ExecutableFolder() + L"\\stand_in.exe").c_str(), (form->AppDir + L"fciv.exe").c_str(), FALSE));
    shell.runTool = true;
    bool enabledDuringJob = true;
    dialogs.onMessage = [&] { enabledDuringJob = form->Command2.Enabled(); };
    const std::wstring elsewhere = data.Make(L"elsewhere");
    RunJob([&] {
        Press(VK_F1);  // where the button passed the focus
        TabTo(Check1_1);  // read before the pause: does not count
        Press(VK_SPACE);
        TabTo(Check2);  // read after it: counts
        Press(VK_SPACE);
        PostMessageW(form->Window().Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(test::DropOf({elsewhere})), 0);  // lists move
    });
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
    RunJob([&] { PostMessageW(form->Window().Hwnd(), WM_CLOSE, 0, 0); });
    EXPECT_FALSE(IsWindow(form->Window().Hwnd()));
    EXPECT_TRUE(quit);  // the program's loop ends next
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
