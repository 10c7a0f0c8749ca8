// How the window describes its elements to the controls.
#pragma once

namespace ui {

enum class ControlKind {
    DriveList, DirList, FileList,
    Edit, ReadOnlyEdit, ReportBox,
    Button, CheckBox, Frame, Label, Line,
};

enum class FontKind { Default, Bold };

// Rectangles are in twips relative to the container: the window's client area,
// or the element named by `container`. A line gives its two end points instead.
// Elements are created, and take the focus, in the table's order.
struct ControlDesc {
    const wchar_t* name;
    ControlKind kind;
    int left, top, width, height;  // a line: x1, y1, x2, y2
    const wchar_t* caption;        // caption or initial text
    const wchar_t* hint;           // tooltip, or nullptr
    int container = -1;            // index of the frame it sits in, or -1
    FontKind font = FontKind::Default;
    const wchar_t* tag = L"";      // a check box's Tag
    int value = 0;                 // a check box's initial Value

    struct Box {
        int left, top, right, bottom;
    };
    // Its rectangle in its container (twips): a line's end points ordered.
    constexpr Box Rect() const {
        if (kind != ControlKind::Line) return {left, top, left + width, top + height};
        return {left < width ? left : width, top < height ? top : height, left < width ? width : left,
                top < height ? height : top};
    }
};

}  // namespace ui
