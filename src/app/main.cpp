#include <objbase.h>
#include <shellapi.h>

#include <new>

#include "app/form1.h"
#include "logic/texts.h"
#include "win32/win.h"

namespace {

int Run() {
    ui::Win32Dialogs dialogs;
    ui::Win32Shell shell;
    ui::SystemClock clock;
    app::Form1 form(dialogs, shell, clock);
    dialogs.SetOwner(form.Window().Hwnd());
    form.Show();
    int argc = 0;  // a folder or a list may be given: "tallymere.exe FOLDER", as "Send To" passes it
    if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        if (argc > 1) form.OpenFolder(argv[1], static_cast<unsigned>(argc - 1));  // "Send To" with several files: as a drop of them
        LocalFree(argv);
    }
    return ui::RunMessageLoop(form.Window());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);  // no DLL from the program's folder or the current one
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    int code = 1;
    // What ends the program unexpectedly is said before it ends.
    try {
        code = Run();
    } catch (const common::RuntimeError& e) {
        ui::Win32Dialogs().Error(e);
    } catch (const std::bad_alloc&) {
        ui::Win32Dialogs().Error(common::RuntimeError(7, texts::ErrOutOfMemory));
    } catch (...) {
        ui::Win32Dialogs().Error(common::RuntimeError(51, texts::ErrInternal));
    }
    CoUninitialize();
    return code;
}
