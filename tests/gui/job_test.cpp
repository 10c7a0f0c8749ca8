#include "gui_fixture.h"
#include "job/process_search.h"
#include "platform/files.h"

namespace {

using namespace app;
using test::FormTest;
using test::TempFolder;

std::wstring BuiltBeside(const std::wstring& exe) { return platform::ExecutableFolder() + L"\\" + exe; }

class JobTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form->AppDir = app.Path() + L"\\";
        data.Write(L"abc.txt", "abc");
        data.Write(L"пусто.txt", "");
        data.Make(L"sub");
        data.Write(L"sub\\md.txt", "message digest");
        TabTo(Text1);
        form->Text1.SetText(data.Path());
        Press(VK_RETURN);
        ASSERT_EQ(form->Dir1.Path(), data.Path());
    }
    void ToolIs(const std::wstring& exe) {
        ASSERT_TRUE(CopyFileW(BuiltBeside(exe).c_str(), (form->AppDir + L"fciv.exe").c_str(), FALSE));
        shell.runTool = true;
    }
    // Presses "Формировать" from the keyboard; the job runs inside the press and has ended when it returns.
    void RunJob() {
        TabTo(Command2);
        Press(VK_SPACE);
    }

    TempFolder app{L"программа с пробелом "};
    TempFolder data{L"данные "};
};

TEST_F(JobTest, HashesTheFolderWithTheRealTool) {
    ToolIs(L"fciv.exe");
    form->Check1(1).SetValue(1);
    form->Check2.SetValue(1);
    form->Check4.SetValue(1);
    RunJob();
    const std::wstring db = L"\"" + form->AppDir + L"dbsha.xml\"";
    EXPECT_EQ(form->Text4.Text(), L"FCIV \"" + data.Path() + L"\" -r -both -xml " + db);
    const std::wstring report =
        data.Path() + L"\\abc.txt\r\nMD5:900150983cd24fb0d6963f7d28e17f72\r\nSHA1:a9993e364706816aba3e25717850c26c9cd0d89d\r\n" +
        data.Path() + L"\\пусто.txt\r\nMD5:d41d8cd98f00b204e9800998ecf8427e\r\nSHA1:da39a3ee5e6b4b0d3255bfef95601890afd80709\r\n" +
        data.Path() + L"\\sub\\md.txt\r\nMD5:f96b697d7cb7938d525a2f31aaf161d0\r\nSHA1:c12252ceda8be8994d5fa0290a47231c1d16aae3";
    EXPECT_EQ(form->Text6.Text(), report);
    EXPECT_TRUE(form->Command2.Enabled());
    EXPECT_TRUE(dialogs.shown.empty());
    ASSERT_EQ(shell.started.size(), 1u);
    const std::string saved = platform::ReadFileCreating(form->AppDir + L"hash_12-06-2026_953.txt");
    EXPECT_EQ(saved.size(), report.size() + 2);  // one byte a character in code page 1251, and CR LF
    // The tool's console took the foreground; back in the window, the focus is where it was.
    SetForegroundWindow(form->Window().Hwnd());
    Pump();
    EXPECT_EQ(Focused(), Text3);
}

TEST_F(JobTest, AMissingToolEndsWithTheEmptyDatabaseMessage) {
    data.Write(L"..\\" + app.Path().substr(app.Path().find_last_of(L'\\') + 1) + L"\\dbsha.xml", "old");
    form->Text6.SetText(L"earlier");
    RunJob();  // the tool is never started
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].prompt, L"Файл пуст.\r" + form->AppDir + L"dbsha.xml");  // the old one was deleted
    EXPECT_EQ(form->Text6.Text(), L"earlier");
    EXPECT_EQ(form->Text4.Text(), L"FCIV \"" + data.Path() + L"\" -md5 -xml \"" + form->AppDir + L"dbsha.xml\"");
    EXPECT_TRUE(form->Command2.Enabled());
    // The keyboard still works: the button gave the focus on before it was disabled.
    EXPECT_EQ(Focused(), Text3);
    Press(VK_TAB, 1);
    EXPECT_EQ(Focused(), Command2);
}

TEST_F(JobTest, WindowStaysLiveWhileASlowToolRuns) {
    ToolIs(L"stand_in.exe");
    SetEnvironmentVariableW(L"TALLYMERE_STANDIN_MS", L"3000");
    bool enabledDuringJob = true;
    dialogs.onMessage = [&] { enabledDuringJob = form->Command2.Enabled(); };
    // Queued now, handled during the job's first pause.
    PostMessageW(Item(Text1), WM_KEYDOWN, VK_F1, 1);
    PostMessageW(Item(Text1), WM_KEYUP, VK_F1, static_cast<LPARAM>(0xC0000001u));
    PostMessageW(Item(Check2), BM_SETCHECK, BST_CHECKED, 0);  // read after the pause: counts
    PostMessageW(Item(Check1_1), BM_SETCHECK, BST_CHECKED, 0);  // read before it: does not
    const std::wstring elsewhere = data.Make(L"elsewhere");  // dropped: the lists move, the job's folder stays
    PostMessageW(form->Window().Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(test::DropOf({elsewhere})), 0);
    PostMessageW(Item(Text3), EM_SETSEL, 0, -1);  // the user types a new mask over the old one
    for (wchar_t c : std::wstring(L"*.txt")) PostMessageW(Item(Text3), WM_CHAR, c, 1);
    SendMessageW(Item(Command2), BM_CLICK, 0, 0);  // the queued input comes in the job's first pause
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, L"Помощь");
    EXPECT_FALSE(enabledDuringJob);
    EXPECT_EQ(form->Text4.Text(),
              L"FCIV \"" + data.Path() + L"\" -r -type *.txt -md5 -xml \"" + form->AppDir + L"dbsha.xml\"");
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

class ProcessSearchTest : public ::testing::Test {
protected:
    // Starts a copy of the stand-in under the given file name; it runs until ended.
    HANDLE Start(const std::wstring& name) {
        const std::wstring folder = dir.Make(std::to_wstring(++count));
        const std::wstring exe = folder + L"\\" + name;
        CopyFileW(BuiltBeside(L"stand_in.exe").c_str(), exe.c_str(), FALSE);
        std::wstring line = L"\"" + exe + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        EXPECT_TRUE(CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        CloseHandle(pi.hThread);
        return pi.hProcess;
    }
    void Stop(HANDLE process) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
    TempFolder dir{L"processes "};
    int count = 0;
};

TEST_F(ProcessSearchTest, ImageNamesContainingTheNameInAnyCaseCountAndNoSnapshotIsLeft) {
    const struct {
        const wchar_t* image;
        uint8_t found;
    } cases[] = {{L"tmsrch.exe", 1}, {L"TMSRCH.EXE", 1}, {L"oldtmsrch.exe", 1}, {L"tmsrch32.exe", 0}};
    for (const auto& c : cases) {
        ASSERT_EQ(job::IsProcessRunning(L"tmsrch.exe"), 0);
        const HANDLE process = Start(c.image);
        DWORD before = 0, after = 0;
        GetProcessHandleCount(GetCurrentProcess(), &before);
        for (int i = 0; i < 50; ++i) EXPECT_EQ(job::IsProcessRunning(L"tmsrch.exe"), c.found) << c.image;
        GetProcessHandleCount(GetCurrentProcess(), &after);
        EXPECT_EQ(after, before);
        Stop(process);
    }
}

}  // namespace
