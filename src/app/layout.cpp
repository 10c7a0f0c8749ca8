#include "app/layout.h"

#include "logic/texts.h"

namespace app {

using ui::ControlKind;
using ui::FontKind;

const std::array<ui::ControlDesc, ElementCount> Layout{{
    {L"Drive1", ControlKind::DriveList, 120, 120, 3015, 315, L"", nullptr},
    {L"Dir1", ControlKind::DirList, 120, 600, 3015, 9540, L"", nullptr},
    {L"File1", ControlKind::FileList, 3240, 600, 3015, 9585, L"", nullptr},
    {L"Text1", ControlKind::Edit, 3240, 120, 10575, 285, L"", texts::HintText1},
    {L"Command1", ControlKind::Button, 13920, 120, 375, 375, texts::Command1, texts::HintCommand1},
    {L"Frame1", ControlKind::Frame, 6360, 480, 7935, 1575, L"", nullptr},
    {L"Check1(0)", ControlKind::CheckBox, 120, 360, 645, 255, texts::Check1Md5, texts::HintMd5, Frame1, FontKind::Default, L"-md5", 1},
    {L"Check1(1)", ControlKind::CheckBox, 120, 600, 645, 255, texts::Check1Sha1, texts::HintSha1, Frame1, FontKind::Default, L"-sha1"},
    {L"Check1(2)", ControlKind::CheckBox, 765, 600, 790, 255, texts::Check1Sha256, texts::HintSha256, Frame1, FontKind::Default, L"-sha256"},
    {L"Label1", ControlKind::Label, 120, 120, 1380, 195, texts::Label1, nullptr, Frame1},
    {L"Text4", ControlKind::ReadOnlyEdit, 6360, 2400, 7935, 285, L"", texts::HintText4},
    {L"Check2", ControlKind::CheckBox, 1680, 120, 3495, 255, texts::Check2, texts::HintCheck2, Frame1},
    {L"Text6", ControlKind::ReportBox, 6360, 2760, 7935, 7335, L"", texts::HintText6},
    {L"Command2", ControlKind::Button, 6000, 1080, 1815, 375, texts::Command2, nullptr, Frame1},
    {L"Text3", ControlKind::Edit, 120, 1200, 3015, 285, L"*.*", texts::HintText3, Frame1},
    {L"Label2", ControlKind::Label, 120, 960, 645, 195, texts::Label2, nullptr, Frame1, FontKind::Bold},
    {L"Check3", ControlKind::CheckBox, 1680, 360, 6135, 255, texts::Check3, texts::HintCheck3, Frame1},
    {L"Label3", ControlKind::Label, 6360, 2160, 1875, 195, texts::Label3, nullptr},
    {L"Check4", ControlKind::CheckBox, 3360, 1200, 1695, 255, texts::Check4, texts::HintCheck4, Frame1},
    {L"Line1", ControlKind::Line, 1560, 960, 1560, 120, L"", nullptr, Frame1},
    {L"Line2", ControlKind::Line, 120, 960, 7800, 960, L"", nullptr, Frame1},
}};

}  // namespace app
