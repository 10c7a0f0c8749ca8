#include "app/form1.h"

#include <type_traits>

#include "common/paths.h"
#include "logic/texts.h"
#include "win32/files.h"

namespace app {

Form1::Form1(ui::Dialogs& dialogs, ui::Shell& shell, ui::Clock& clock)
    : dialogs_(dialogs),
      shell_(shell),
      clock_(clock),
      window_(*this, texts::FormTitle, ClientWidth, ClientHeight, Layout),
      Drive1(window_.Get<ui::DriveList>(app::Drive1)),
      Dir1(window_.Get<ui::DirList>(app::Dir1)),
      File1(window_.Get<ui::FileList>(app::File1)),
      Text1(window_.Get<ui::TextBox>(app::Text1)),
      Command1(window_.Get<ui::Button>(app::Command1)),
      Text3(window_.Get<ui::TextBox>(app::Text3)),
      Text4(window_.Get<ui::TextBox>(app::Text4)),
      Text6(window_.Get<ui::ReportView>(app::Text6)),
      Check2(window_.Get<ui::CheckBox>(app::Check2)),
      Check3(window_.Get<ui::CheckBox>(app::Check3)),
      Check4(window_.Get<ui::CheckBox>(app::Check4)),
      Command2(window_.Get<ui::Button>(app::Command2)),
      check1_{&window_.Get<ui::CheckBox>(app::Check1_0), &window_.Get<ui::CheckBox>(app::Check1_1),
              &window_.Get<ui::CheckBox>(app::Check1_2)} {
    Form_Load();
}

void Form1::Form_Load() { AppDir = common::WithBackslash(win32::ExecutableFolder()); }

void Form1::Form_KeyUp(int key, int /*shift*/) {
    if (key != 112) return;  // F1
    std::wstring help;
    for (const auto* line : texts::HelpLines) help += (help.empty() ? L"" : L"\r\n") + std::wstring(line);
    dialogs_.Message(help, ui::style::Information, texts::HelpTitle);
}

namespace {

// Calls a handler with the event's arguments as its parameters ask for them.
template <auto handler>
void Call(Form1& form, const ui::Event& e) {
    if constexpr (std::is_invocable_v<decltype(handler), Form1&>) (form.*handler)();
    else if constexpr (std::is_invocable_v<decltype(handler), Form1&, int, int>) (form.*handler)(e.key, e.shift);
    else (form.*handler)(e.button, e.shift, e.x, e.y);
}

}  // namespace

void Form1::OnEvent(const ui::Event& event) {
    using ui::Event;
    static constexpr struct {
        Event::Kind kind;
        int element;
        void (*handle)(Form1&, const Event&);
    } Bindings[] = {
        {Event::KeyUp, FormIndex, Call<&Form1::Form_KeyUp>},
        {Event::Change, app::Drive1, Call<&Form1::Drive1_Change>},
        {Event::Change, app::Dir1, Call<&Form1::Dir1_Change>},
        {Event::MouseUp, app::Dir1, Call<&Form1::Dir1_MouseUp>},
        {Event::KeyUp, app::Text1, Call<&Form1::Text1_KeyUp>},
        {Event::Click, app::Command1, Call<&Form1::Command1_Click>},
        {Event::Change, app::Text3, Call<&Form1::Text3_Change>},
        {Event::Click, app::Command2, Call<&Form1::Command2_Click>},
    };
    for (const auto& b : Bindings)
        if (b.kind == event.kind && b.element == event.element) b.handle(*this, event);
}

}  // namespace app
