#include "gui_fixture.h"

#include <tlhelp32.h>

#include "logic/texts.h"
#include "win32/files.h"
#include "win32/handle.h"

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
    // Puts a program of the tests' beside the window as its hashing tool.
    void Tool(const wchar_t* program) {
        ASSERT_TRUE(CopyFileW((win32::ExecutableFolder() + L"\\" + program).c_str(), (form->AppDir + L"fciv.exe").c_str(), FALSE));
    }
    // Presses "Формировать" with the space bar: the job runs inside the press. `during` runs once
    // `afterMs` into the job, as a person goes on using the window while the tool runs.
    void RunJob(std::function<void()> during = [] {}, UINT afterMs = 200) {
        TabTo(Command2);
        During(std::move(during), afterMs);
        Press(VK_SPACE);
    }
    // `what` runs once, `afterMs` into what the window does next.
    void During(std::function<void()> what, UINT afterMs = 200) {
        static std::function<void()> pending;
        pending = std::move(what);
        SetTimer(form->Window().Hwnd(), 1, afterMs, [](HWND h, UINT, UINT_PTR id, DWORD) { KillTimer(h, id); pending(); });
    }
    TempFolder app{L"программа с пробелом "};
    TempFolder data{L"данные "};
};

TEST_F(JobTest, WhatKeepsAJobFromItsResultIsNamedAndNoEarlierResultIsShown) {
    app.Write(L"dbsha.xml", "old");
    form->Text6.SetText(L"earlier");
    RunJob();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].style, 48);
    EXPECT_TRUE(dialogs.shown[0].prompt.starts_with(texts::ToolNotFound + form->AppDir + texts::ToolNotFoundElsewhere));
    EXPECT_EQ(form->Text6.Text(), L"");  // not the last job's report
    EXPECT_FALSE(std::filesystem::exists(app.Path() + L"\\dbsha.xml"));  // the old one deleted, no empty one left
    EXPECT_EQ(form->Text4.Text(), L"FCIV \"" + data.Path() + L"\" -md5 -xml \"" + form->AppDir + L"dbsha.xml\"");
    EXPECT_EQ(Focused(), Command2);  // enabled again
    form->AppDir = L"Z:\\sys\\";  // no one may create files there
    RunJob();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_TRUE(dialogs.shown[1].prompt.starts_with(texts::FolderNotWritable + form->AppDir + L"\r")) << dialogs.shown[1].prompt;
    EXPECT_TRUE(dialogs.shown[1].prompt.ends_with(texts::FolderNotWritableAdvice));
    EXPECT_EQ(Focused(), Command2);
    form->AppDir = app.Path() + L"\\";
    Tool(L"fciv.exe");
    data.Write(L"a.txt", "a");
    RunJob();
    ASSERT_NE(form->Text6.Text(), L"");
    {  // a viewer holds the last database open, sharing reading only: the tool could not replace it
        const win32::UniqueFile viewer(CreateFileW((form->AppDir + L"dbsha.xml").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                   OPEN_EXISTING, 0, nullptr));
        RunJob();
    }
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[2].prompt.substr(0, dialogs.shown[2].prompt.find(L'\r', 25)), texts::FileInTheWay + form->AppDir + L"dbsha.xml");
    EXPECT_TRUE(dialogs.shown[2].prompt.ends_with(texts::FileInTheWayAdvice));
    EXPECT_EQ(form->Text6.Text(), L"");
    std::filesystem::remove_all(data.Path());  // the tool refuses a folder that has gone, and writes nothing
    RunJob();
    ASSERT_EQ(dialogs.shown.size(), 4u);
    EXPECT_EQ(dialogs.shown[3].prompt, texts::ToolWroteNothing + form->AppDir + L"dbsha.xml\r" + texts::ToolExitCode + L"2" + texts::ToolExit[2]);
    EXPECT_EQ(form->Text6.Text(), L"");
}

TEST_F(JobTest, WindowStaysLiveWhileASlowToolRunsAndTheSpaceBarRunsItAgain) {
    Tool(L"fciv.exe");
    const std::wstring big = data.Write(L"big.bin", "");
    std::filesystem::resize_file(big, 1ull << 30);  // seconds of hashing
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
    EXPECT_EQ(form->Text4.Text(), L"FCIV \"" + data.Path() + L"\" -r -md5 -xml \"" + form->AppDir + L"dbsha.xml\"");
    EXPECT_EQ(form->Text6.Text(), big + L"\r\nMD5:cd573cfaace07e7949bc0c46028904ff");
    EXPECT_EQ(form->Dir1.Path(), elsewhere);
    ASSERT_EQ(Focused(), Command2);  // the button had it: the space bar runs the job again
    Press(VK_SPACE);
    EXPECT_EQ(form->Text6.Text(), L"***************\r\n Нет данных !\r\n***************");  // the folder dropped meanwhile
    EXPECT_TRUE(form->Text4.Text().ends_with(L"\\dbsha.xml\"")) << "the last job let its database go";
}

// Two windows of one program folder, each hashing its own folder while the other's tool runs: each
// waits for its own tool only (the other's is a run of the tool like any other) and reads its own database.
TEST_F(JobTest, TwoWindowsOfOneProgramShowEachItsOwnFolder) {
    Tool(L"fciv.exe");
    const std::wstring big = data.Write(L"big.bin", "");
    std::filesystem::resize_file(big, 1ull << 30);  // seconds of hashing: still running when the other window's job ends
    TempFolder other{L"другие данные "};
    const std::wstring small = other.Write(L"small.txt", "small");
    app::Form1 second(dialogs, shell, clock);
    second.AppDir = form->AppDir;
    second.Show();
    RECT first, next;
    GetWindowRect(form->Window().Hwnd(), &first), GetWindowRect(second.Window().Hwnd(), &next);
    EXPECT_GT(next.top, first.top) << "the second window opened on top of the first";
    app::FormProbe::GoToPath(second, other.Path());
    SetForegroundWindow(form->Window().Hwnd());
    Pump();
    RunJob([&] {  // the other window brought to the front, its "Формировать" clicked
        SetForegroundWindow(second.Window().Hwnd());
        Click(second.Command2.Hwnd());
    }, 1300);
    EXPECT_EQ(form->Text6.Text().substr(0, big.size() + 6), big + L"\r\nMD5:");
    EXPECT_EQ(second.Text6.Text().substr(0, small.size() + 6), small + L"\r\nMD5:");
    EXPECT_EQ(second.Text4.Text(), L"FCIV \"" + other.Path() + L"\" -md5 -xml \"" + form->AppDir + L"dbsha (2).xml\"");
    EXPECT_EQ(dialogs.shown, std::vector<test::Shown>{});
}

TEST_F(JobTest, ADroppedReportChecksItsFilesAgain) {
    Tool(L"fciv.exe");
    const std::wstring same = data.Write(L"a.txt", "a"), changed = data.Write(L"b.txt", "b"), gone = data.Write(L"c.txt", "c");
    form->Check4.SetValue(1);
    RunJob();
    form->Check4.SetValue(0);
    data.Write(L"b.txt", "bb");
    std::filesystem::remove(gone);
    const std::wstring report = form->AppDir + L"hash_01-09-2027_953.txt", database = form->AppDir + L"dbsha.xml";
    std::filesystem::remove(database);
    During([&] {  // a click message, as automation sends it, reaching the disabled button: no second job
        PostMessageW(form->Window().Hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Item(Command2)), BN_CLICKED), reinterpret_cast<LPARAM>(Item(Command2)));
    });
    PostMessageW(form->Window().Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(test::DropOf({report})), 0);
    Pump();  // the check runs inside the drop
    EXPECT_EQ(form->Text6.Text(), L"ИЗМЕНЁН (MD5): " + changed + L"\r\nНЕТ ФАЙЛА: " + gone + L"\r\nВЕРНО: " + same +
                                      L"\r\n***************\r\nВерно: 1, изменено: 1, нет файла: 1, не прочитано: 0");
    EXPECT_EQ(form->Dir1.Path(), app.Path());  // the lists moved to the report's folder
    EXPECT_FALSE(std::filesystem::exists(database)) << "a job ran inside the check";
    EXPECT_EQ(dialogs.shown, std::vector<test::Shown>{});
    // Saved with names only, beside the program: it names the files of the folder the lists show.
    app::FormProbe::GoToPath(*form, data.Path());
    form->Check3.SetValue(1), form->Check4.SetValue(1);
    RunJob();
    PostMessageW(form->Window().Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(test::DropOf({form->AppDir + L"hash_01-09-2027_953 (2).txt"})), 0);
    Pump();
    EXPECT_EQ(form->Text6.Text(), L"Все файлы верны: 2\r\nВЕРНО: a.txt\r\nВЕРНО: b.txt\r\n***************\r\n"
                                  L"Верно: 2, изменено: 0, нет файла: 0, не прочитано: 0");
    EXPECT_EQ(form->Dir1.Path(), data.Path());
}

// The tool ended from outside (its console's [X] under Wine gives it no chance to stop), then the window closed.
TEST_F(JobTest, ClosingTheToolOrTheWindowDuringAJobEndsIt) {
    Tool(L"fciv.exe");
    const std::wstring first = data.Write(L"a.txt", "a");
    std::filesystem::resize_file(data.Write(L"big.bin", ""), 1ull << 30);  // seconds of hashing after the first file
    static std::function<bool()> stopped;  // ends the window's tool once it has finished something
    stopped = [&] {
        PROCESSENTRY32W entry{sizeof entry};
        const win32::UniqueHandle all(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        for (BOOL more = Process32FirstW(all.get(), &entry); more; more = Process32NextW(all.get(), &entry)) {
            if (entry.th32ParentProcessID != GetCurrentProcessId() || std::wstring(entry.szExeFile) != L"fciv.exe") continue;
            std::error_code none;  // the file is the tool's alone while it runs: its size tells (a 48-byte header, then entries)
            const auto written = std::filesystem::file_size(form->AppDir + L"~fciv" + std::to_wstring(entry.th32ProcessID) + L".tmp", none);
            return !none && written > 100 && TerminateProcess(win32::UniqueHandle(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID)).get(), 1);
        }
        return false;
    };
    TabTo(Command2);
    SetTimer(form->Window().Hwnd(), 2, 50, [](HWND h, UINT, UINT_PTR id, DWORD) { if (stopped()) KillTimer(h, id); });
    Press(VK_SPACE);  // the job, while the timer looks on
    EXPECT_EQ(dialogs.shown, std::vector<test::Shown>{});
    EXPECT_EQ(form->Text6.Text().substr(0, first.size() + 40), first + L"\r\nMD5:0cc175b9c0f1b6a831c399e269772661\r\n");
    EXPECT_TRUE(form->Text6.Text().ends_with(L"Формирование прервано: в отчёте не все файлы")) << "what it finished, marked interrupted";
    RunJob([&] { PostMessageW(form->Window().Hwnd(), WM_CLOSE, 0, 0); });
    EXPECT_FALSE(IsWindow(form->Window().Hwnd()));
    EXPECT_TRUE(quit);  // the program's loop ends next
}

}  // namespace
