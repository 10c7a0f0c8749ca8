#include <objbase.h>
#include <shellapi.h>

#include <new>

#include "app/form1.h"
#include "platform/win.h"
#include "texts.h"

namespace {

int Run() {
    platform::Win32Dialogs dialogs;
    platform::Win32Shell shell;
    platform::SystemClock clock;
    app::Form1 form(dialogs, shell, clock);
    dialogs.SetOwner(form.Window().Hwnd());
    form.Show();
    int argc = 0;  // one folder may be given: "tallymere.exe FOLDER", as "Send To" passes it
    if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        if (argc > 1) form.OpenFolder(argv[1]);
        LocalFree(argv);
    }
    return platform::RunMessageLoop(form.Window());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);  // no DLL from the program's folder or the current one
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    int code = 1;
    // What ends the program unexpectedly is said before it ends.
    const auto say = [](int number, const std::wstring& text) {
        platform::Win32Dialogs().Message(std::to_wstring(number) + L"\r" + text, platform::style::OkOnly, L"");
    };
    try {
        code = Run();
    } catch (const platform::RuntimeError& e) {
        say(e.Number(), e.Description());
    } catch (const std::bad_alloc&) {
        say(7, texts::ErrOutOfMemory);
    } catch (...) {
        say(51, texts::ErrInternal);
    }
    CoUninitialize();
    return code;
}
