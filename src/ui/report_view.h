// The report box: a read-only text of any size, kept once and drawn a screenful at a time.
// It answers as a read-only multi-line edit does: WM_GETTEXT, WM_SETTEXT, EM_GETSEL, EM_SETSEL,
// WM_COPY; selection by mouse and keyboard, Ctrl+A, Ctrl+C, scrolling by keys, wheel and bars.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace ui {

// A text with the offset at which each of its lines (ended by CR LF) starts.
struct LinedText {
    std::wstring text;
    std::vector<size_t> lines;
};
// Finds the lines of a text; may run on any thread.
LinedText LinesOf(std::wstring text);

class ReportView : public Control {
public:
    explicit ReportView(const ControlSite& site);
    std::wstring Text() const { return text_->text; }
    // Shared: work off the window's thread may go on with it while the box takes another.
    std::shared_ptr<const LinedText> Report() const { return text_; }
    void SetText(const std::wstring& text) { SetReport(LinesOf(text)); }
    // Takes a text whose lines are already found: no work that grows with it.
    void SetReport(LinedText text);
    // Shown in grey while the box is empty (how far a report is read).
    void SetStatus(const std::wstring& status);

private:
    std::optional<LRESULT> OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void Paint();
    void SetFont(HFONT font);
    void Fit();  // the bars and the longest line's width for a new text or font
    void UpdateScrollBars();
    void Scroll(int bar, size_t line, int x);
    void ScrollBy(int bar, WPARAM code);
    void OnKey(WPARAM key);
    void MoveCaret(size_t to, bool extend);
    void PlaceCaret();
    void Copy() const;
    void ContextMenu(LPARAM at);

    size_t LineOf(size_t offset) const;
    size_t LineStart(size_t line) const { return text_->lines[line]; }
    size_t LineEnd(size_t line) const;  // before its CR LF
    int XOf(size_t offset) const;       // from the line's start, in pixels
    size_t OffsetAt(int x, int y) const;
    int Rows() const;

    std::shared_ptr<const LinedText> text_;
    std::wstring status_;
    HFONT font_ = nullptr;
    int lineHeight_ = 16, charWidth_ = 7, width_ = 0;  // width_: the longest line's, in pixels
    size_t top_ = 0;  // the first line shown
    int left_ = 0;    // pixels scrolled to the right
    size_t anchor_ = 0, caret_ = 0;
    int wheel_ = 0;   // wheel turns short of a line
};

}  // namespace ui
