#include "gui_fixture.h"

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
    const auto box = [&](size_t count) {  // the job's box; no report, not even the last job's; the button enabled again
        EXPECT_EQ(form->Text6.Text(), L"");
        EXPECT_EQ(Focused(), Command2);
        return dialogs.shown.size() == count ? dialogs.shown.back().prompt : std::to_wstring(dialogs.shown.size()) + L" boxes";
    };
    app.Write(L"dbsha.xml", "old");
    form->Text6.SetText(L"earlier");
    RunJob();
    EXPECT_TRUE(box(1).starts_with(texts::ToolNotFound + form->AppDir + texts::ToolNotFoundElsewhere));
    EXPECT_EQ(dialogs.shown.at(0).style, 48);
    EXPECT_FALSE(std::filesystem::exists(app.Path() + L"\\dbsha.xml"));  // the old one deleted, no empty one left
    EXPECT_EQ(form->Text4.Text(), L"FCIV \"" + data.Path() + L"\" -md5 -xml \"" + form->AppDir + L"dbsha.xml\"");
    form->AppDir = L"Z:\\sys\\";  // no one may create files there
    RunJob();
    const std::wstring notWritable = box(2);
    EXPECT_TRUE(notWritable.starts_with(texts::FolderNotWritable + form->AppDir + L"\r") && notWritable.ends_with(texts::FolderNotWritableAdvice)) << notWritable;
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
    const std::wstring inTheWay = box(3);
    EXPECT_TRUE(inTheWay.starts_with(texts::FileInTheWay + form->AppDir + L"dbsha.xml\r") && inTheWay.ends_with(texts::FileInTheWayAdvice)) << inTheWay;
    std::filesystem::remove_all(data.Path());  // the tool refuses a folder that has gone, and writes nothing
    RunJob();
    EXPECT_EQ(box(4), texts::ToolWroteNothing + form->AppDir + L"dbsha.xml\r" + texts::ToolExitCode + L"2" + texts::ToolExit[2]);
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
    stopped = [&] {  // the tool's temporary file, its own while it runs, names it; its size tells (a 48-byte header, then entries)
        std::error_code none;
        for (const auto& file : std::filesystem::directory_iterator(form->AppDir))
            if (const std::wstring name = file.path().filename(); name.starts_with(L"~fciv") && file.file_size(none) > 100 && !none)
                return TerminateProcess(win32::UniqueHandle(OpenProcess(PROCESS_TERMINATE, FALSE, std::stoul(name.substr(5)))).get(), 1) != FALSE;
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
