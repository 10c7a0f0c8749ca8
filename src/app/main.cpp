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
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    int code = 1;
    try {
        code = Run();
    } catch (const platform::RuntimeError& e) {  // the window could not be made: say why before ending
        platform::Win32Dialogs().Message(std::to_wstring(e.Number()) + L"\r" + e.Description(), platform::style::OkOnly, L"");
    } catch (const std::bad_alloc&) {
        platform::Win32Dialogs().Message(L"7\r" + std::wstring(texts::ErrOutOfMemory), platform::style::OkOnly, L"");
    }
    CoUninitialize();
    return code;
}
