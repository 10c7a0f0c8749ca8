#include "app/form1.h"

#include "app/app_dir.h"
#include "platform/files.h"
#include "texts.h"

namespace app {

Form1::Form1(platform::Dialogs& dialogs, platform::Shell& shell, platform::Clock& clock)
    : dialogs_(dialogs),
      shell_(shell),
      clock_(clock),
      window_(*this, texts::FormTitle, ClientWidth, ClientHeight, Layout),
      Drive1(window_.Get<platform::DriveList>(app::Drive1)),
      Dir1(window_.Get<platform::DirList>(app::Dir1)),
      File1(window_.Get<platform::FileList>(app::File1)),
      Text1(window_.Get<platform::TextBox>(app::Text1)),
      Command1(window_.Get<platform::Button>(app::Command1)),
      Text3(window_.Get<platform::TextBox>(app::Text3)),
      Text4(window_.Get<platform::TextBox>(app::Text4)),
      Text6(window_.Get<platform::TextBox>(app::Text6)),
      Check2(window_.Get<platform::CheckBox>(app::Check2)),
      Check3(window_.Get<platform::CheckBox>(app::Check3)),
      Check4(window_.Get<platform::CheckBox>(app::Check4)),
      Command2(window_.Get<platform::Button>(app::Command2)),
      check1_0_(window_.Get<platform::CheckBox>(app::Check1_0)),
      check1_1_(window_.Get<platform::CheckBox>(app::Check1_1)) {
    Form_Load();
}

void Form1::Form_Load() { AppDir = AppDirFrom(platform::ExecutableFolder()); }

void Form1::Form_KeyUp(int key, int /*shift*/) {
    if (key != 112) return;  // F1
    std::wstring help;
    for (const auto* line : texts::HelpLines) help += (help.empty() ? L"" : L"\r\n") + std::wstring(line);
    dialogs_.Message(help, platform::style::Information, texts::HelpTitle);
}

void Form1::OnClick(int element) {
    if (element == app::Command1) Command1_Click();
    else if (element == app::Command2) Command2_Click();
}

void Form1::OnChange(int element) {
    if (element == app::Drive1) Drive1_Change();
    else if (element == app::Dir1) Dir1_Change();
    else if (element == app::Text3) Text3_Change();
}

void Form1::OnKeyUp(int element, int key, int shift) {
    if (element == FormIndex) Form_KeyUp(key, shift);
    else if (element == app::Text1) Text1_KeyUp(key, shift);
}

void Form1::OnMouseUp(int element, int button, int shift, float x, float y) {
    if (element == app::Dir1) Dir1_MouseUp(button, shift, x, y);
}

void Form1::OnUntrappedError(int number, const std::wstring& description) {
    dialogs_.Message(std::to_wstring(number) + L"\r" + description, platform::style::OkOnly, L"");
}

}  // namespace app
