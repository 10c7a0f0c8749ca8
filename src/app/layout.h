// The window's elements: place, size (twips), caption, hint and initial state; their order is the focus order.
#pragma once
#include <array>

#include "ui/control_desc.h"

namespace app {

// Indices into the table; also the creation and focus order.
enum Element : int {
    Drive1, Dir1, File1, Text1, Command1, Frame1, Check1_0, Check1_1, Check1_2, Label1, Text4, Check2, Text6, Command2,
    Text3, Label2, Check3, Label3, Check4, Line1, Line2, ElementCount
};

inline constexpr int ClientWidth = 14400;
inline constexpr int ClientHeight = 10245;

extern const std::array<ui::ControlDesc, ElementCount> Layout;

}  // namespace app
