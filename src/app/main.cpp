#include <objbase.h>

#include "app/form1.h"
#include "platform/win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    platform::Win32Dialogs dialogs;
    platform::Win32Shell shell;
    platform::SystemClock clock;
    app::Form1 form(dialogs, shell, clock);
    dialogs.SetOwner(form.Window().Hwnd());
    form.Show();
    const int code = platform::RunMessageLoop(form.Window());
    CoUninitialize();
    return code;
}
