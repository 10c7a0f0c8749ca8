#include "ui/report_view.h"

#include <windowsx.h>

#include <algorithm>

#include "logic/texts.h"

namespace ui {

namespace {

constexpr int Margin = 2;  // pixels between the border and the text, as an edit leaves
constexpr UINT_PTR CopyCommand = 1, SelectAllCommand = 2;

const wchar_t* ReportClass() {
    static const wchar_t* const name = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
        wc.lpszClassName = L"TallymereReport";
        RegisterClassExW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

bool IsWordChar(wchar_t c) { return IsCharAlphaNumericW(c) || c == L'_'; }

bool Pressed(int key) { return GetKeyState(key) < 0; }

// The box's device context with its font selected, for measuring.
class FontDc {
public:
    FontDc(HWND hwnd, HFONT font) : hwnd_(hwnd), dc_(GetDC(hwnd)), old_(SelectObject(dc_, font)) {}
    ~FontDc() {
        SelectObject(dc_, old_);
        ReleaseDC(hwnd_, dc_);
    }
    FontDc(const FontDc&) = delete;
    FontDc& operator=(const FontDc&) = delete;
    operator HDC() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace

LinedText LinesOf(std::wstring text) {
    LinedText lined{std::move(text), {0}};
    for (size_t p = lined.text.find(L"\r\n"); p != std::wstring::npos; p = lined.text.find(L"\r\n", p + 2)) lined.lines.push_back(p + 2);
    return lined;
}

ReportView::ReportView(const ControlSite& site)
    : Control(site, ReportClass(), WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL),
      text_(std::make_shared<const LinedText>(LinesOf(L""))) {}

void ReportView::SetReport(LinedText text) {
    text_ = std::make_shared<const LinedText>(std::move(text));
    top_ = 0;
    left_ = 0;
    anchor_ = caret_ = 0;
    Fit();
}

void ReportView::Fit() {
    // The widest line is taken to be the longest one: measuring each would take as long as the text.
    size_t longest = 0;
    for (size_t line = 0; line < text_->lines.size(); ++line)
        if (LineEnd(line) - LineStart(line) > LineEnd(longest) - LineStart(longest)) longest = line;
    width_ = std::max(XOf(LineEnd(longest)), static_cast<int>(std::min<size_t>(LineEnd(longest) - LineStart(longest), 1 << 20)) * charWidth_);
    UpdateScrollBars();
    PlaceCaret();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ReportView::SetStatus(const std::wstring& status) {
    if (status == status_) return;
    status_ = status;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

size_t ReportView::LineOf(size_t offset) const {
    return static_cast<size_t>(std::upper_bound(text_->lines.begin(), text_->lines.end(), offset) - text_->lines.begin()) - 1;
}

size_t ReportView::LineEnd(size_t line) const {
    return line + 1 < text_->lines.size() ? text_->lines[line + 1] - 2 : text_->text.size();
}

int ReportView::Rows() const {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    return std::max(1, static_cast<int>(rc.bottom / lineHeight_));
}

int ReportView::XOf(size_t offset) const {
    const size_t start = LineStart(LineOf(offset));
    SIZE size{};
    GetTextExtentPoint32W(FontDc(hwnd_, font_), text_->text.data() + start, static_cast<int>(offset - start), &size);
    return size.cx;
}

size_t ReportView::OffsetAt(int x, int y) const {
    const size_t line = std::min(text_->lines.size() - 1,
                                 static_cast<size_t>(std::max<ptrdiff_t>(0, static_cast<ptrdiff_t>(top_) + (y < 0 ? y / lineHeight_ - 1 : y / lineHeight_))));
    const size_t start = LineStart(line), length = LineEnd(line) - start;
    std::vector<int> right(length);  // where each character of the line ends
    SIZE size;
    GetTextExtentExPointW(FontDc(hwnd_, font_), text_->text.data() + start, static_cast<int>(length), 0, nullptr, right.data(), &size);
    const int at = x - Margin + left_;
    size_t column = 0;  // the character boundary nearest to the point
    while (column < length && (right[column] + (column ? right[column - 1] : 0)) / 2 < at) ++column;
    return start + column;
}

void ReportView::SetFont(HFONT font) {
    font_ = font;
    TEXTMETRICW tm{};
    GetTextMetricsW(FontDc(hwnd_, font_), &tm);
    lineHeight_ = std::max(1, static_cast<int>(tm.tmHeight));
    charWidth_ = std::max(1, static_cast<int>(tm.tmAveCharWidth));
    Fit();
}

void ReportView::UpdateScrollBars() {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, static_cast<int>(text_->lines.size() - 1),
                  static_cast<UINT>(Rows()), static_cast<int>(top_), 0};
    SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
    si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, width_ + 2 * Margin, static_cast<UINT>(rc.right), left_, 0};
    SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
}

void ReportView::Scroll(int bar, size_t line, int x) {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const size_t lastTop = text_->lines.size() - std::min(text_->lines.size(), static_cast<size_t>(Rows()));
    const size_t top = bar == SB_VERT ? std::min(line, lastTop) : top_;
    const int left = bar == SB_HORZ ? std::clamp(x, 0, std::max(0, width_ + 2 * Margin - static_cast<int>(rc.right))) : left_;
    if (top == top_ && left == left_) return;
    top_ = top;
    left_ = left;
    UpdateScrollBars();
    InvalidateRect(hwnd_, nullptr, TRUE);
    PlaceCaret();
}

void ReportView::ScrollBy(int bar, WPARAM code) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd_, bar, &si);
    const int line = bar == SB_VERT ? 1 : charWidth_, page = std::max(1, static_cast<int>(si.nPage) - (bar == SB_VERT ? 1 : charWidth_));
    long long to = si.nPos;
    switch (LOWORD(code)) {
    case SB_LINEUP: to -= line; break;
    case SB_LINEDOWN: to += line; break;
    case SB_PAGEUP: to -= page; break;
    case SB_PAGEDOWN: to += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: to = si.nTrackPos; break;
    case SB_TOP: to = 0; break;
    case SB_BOTTOM: to = si.nMax; break;
    default: return;
    }
    to = std::max(0LL, to);
    if (bar == SB_VERT) Scroll(bar, static_cast<size_t>(to), 0);
    else Scroll(bar, 0, static_cast<int>(std::min<long long>(to, INT_MAX)));
}

void ReportView::PlaceCaret() {
    if (GetFocus() != hwnd_) return;
    const size_t line = LineOf(caret_);
    const bool shown = line >= top_ && line < top_ + static_cast<size_t>(Rows()) + 1;
    SetCaretPos(shown ? Margin + XOf(caret_) - left_ : -100, shown ? static_cast<int>(line - top_) * lineHeight_ : -100);
}

void ReportView::MoveCaret(size_t to, bool extend) {
    caret_ = std::min(to, text_->text.size());
    if (!extend) anchor_ = caret_;
    // The caret kept in sight.
    const size_t line = LineOf(caret_), rows = static_cast<size_t>(Rows());
    if (line < top_) Scroll(SB_VERT, line, 0);
    else if (line >= top_ + rows) Scroll(SB_VERT, line - rows + 1, 0);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const int x = XOf(caret_);
    if (x < left_) Scroll(SB_HORZ, 0, x - static_cast<int>(rc.right) / 3);
    else if (x > left_ + rc.right - 2 * Margin) Scroll(SB_HORZ, 0, x - static_cast<int>(rc.right) * 2 / 3);
    InvalidateRect(hwnd_, nullptr, FALSE);
    PlaceCaret();
}

void ReportView::OnKey(WPARAM key) {
    const bool shift = Pressed(VK_SHIFT), control = Pressed(VK_CONTROL);
    const size_t line = LineOf(caret_), last = text_->lines.size() - 1, size = text_->text.size();
    const auto sameX = [&](size_t to) {  // the place in line `to` under the caret
        return OffsetAt(Margin + XOf(caret_) - left_, static_cast<int>(static_cast<ptrdiff_t>(to) - static_cast<ptrdiff_t>(top_)) * lineHeight_);
    };
    const size_t rows = static_cast<size_t>(Rows());
    size_t to = caret_;
    switch (key) {
    case VK_LEFT:
        if (caret_ == 0) break;
        to = caret_ == LineStart(line) ? caret_ - 2 : caret_ - 1;
        if (control)
            while (to > 0 && !(IsWordChar(text_->text[to]) && !IsWordChar(text_->text[to - 1]))) --to;
        break;
    case VK_RIGHT:
        if (caret_ == size) break;
        to = caret_ == LineEnd(line) ? caret_ + 2 : caret_ + 1;
        if (control)
            while (to < size && !(IsWordChar(text_->text[to]) && !IsWordChar(text_->text[to - 1]))) ++to;
        break;
    case VK_UP: to = line == 0 ? caret_ : sameX(line - 1); break;
    case VK_DOWN: to = line == last ? caret_ : sameX(line + 1); break;
    case VK_PRIOR:  // the view a page up, and the caret with it
        Scroll(SB_VERT, top_ - std::min(top_, rows), 0);
        to = sameX(line - std::min(line, rows));
        break;
    case VK_NEXT:
        Scroll(SB_VERT, top_ + rows, 0);
        to = sameX(std::min(last, line + rows));
        break;
    case VK_HOME: to = control ? 0 : LineStart(line); break;
    case VK_END: to = control ? size : LineEnd(line); break;
    case 'A':
        if (!control) return;
        anchor_ = 0;
        return MoveCaret(size, true);
    case 'C':
    case VK_INSERT:
        if (control) Copy();
        return;
    default: return;
    }
    MoveCaret(to, shift);
}

void ReportView::Copy() const {
    const size_t from = std::min(anchor_, caret_), count = std::max(anchor_, caret_) - from;
    if (count == 0 || !OpenClipboard(hwnd_)) return;
    EmptyClipboard();
    if (const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (count + 1) * sizeof(wchar_t))) {
        auto* to = static_cast<wchar_t*>(GlobalLock(memory));
        std::copy_n(text_->text.data() + from, count, to);
        to[count] = L'\0';
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

void ReportView::ContextMenu(LPARAM at) {
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | (anchor_ == caret_ ? MF_GRAYED : 0), CopyCommand, texts::MenuCopy);
    AppendMenuW(menu, MF_STRING, SelectAllCommand, texts::MenuSelectAll);
    POINT pt{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == -1) {  // from the keyboard: at the caret
        pt = {Margin + XOf(caret_) - left_, static_cast<int>(LineOf(caret_) - std::min(top_, LineOf(caret_))) * lineHeight_ + lineHeight_};
        ClientToScreen(hwnd_, &pt);
    }
    const UINT_PTR chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, pt.x, pt.y, 0, hwnd_, nullptr);
    DestroyMenu(menu);
    if (chosen == CopyCommand) Copy();
    if (chosen == SelectAllCommand) {
        anchor_ = 0;
        MoveCaret(text_->text.size(), true);
    }
}

void ReportView::Paint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd_, &ps);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
    const HGDIOBJ old = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    if (text_->text.empty() && !status_.empty()) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        TextOutW(dc, Margin, 0, status_.data(), static_cast<int>(status_.size()));
    }
    const bool focused = GetFocus() == hwnd_;
    const size_t from = std::min(anchor_, caret_), to = std::max(anchor_, caret_);
    const size_t first = top_ + static_cast<size_t>(ps.rcPaint.top / lineHeight_);
    const size_t end = std::min(text_->lines.size(), top_ + static_cast<size_t>((ps.rcPaint.bottom + lineHeight_ - 1) / lineHeight_));
    for (size_t line = first; line < end; ++line) {
        const size_t start = LineStart(line), stop = LineEnd(line);
        const int y = static_cast<int>(line - top_) * lineHeight_;
        // Before the selection, the selection, after it.
        const size_t cuts[] = {start, std::clamp(from, start, stop), std::clamp(to, start, stop), stop};
        int x = Margin - left_;
        for (int part = 0; part < 3; ++part) {
            const int count = static_cast<int>(cuts[part + 1] - cuts[part]);
            if (count == 0) continue;
            const bool selected = part == 1 && focused;
            SIZE size{};
            GetTextExtentPoint32W(dc, text_->text.data() + cuts[part], count, &size);
            const RECT box{x, y, x + size.cx, y + lineHeight_};
            if (selected) FillRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            if (box.right > 0 && box.left < rc.right) ExtTextOutW(dc, x, y, 0, nullptr, text_->text.data() + cuts[part], static_cast<UINT>(count), nullptr);
            x = box.right;
        }
    }
    SelectObject(dc, old);
    EndPaint(hwnd_, &ps);
}

std::optional<LRESULT> ReportView::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT: SetFont(reinterpret_cast<HFONT>(wp)); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_SIZE: Scroll(SB_VERT, top_, 0); UpdateScrollBars(); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;  // Tab into it selects all, as into an edit
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(text_->text.size());
    case WM_GETTEXT: {
        if (wp == 0) return 0;
        const size_t count = std::min(text_->text.size(), static_cast<size_t>(wp) - 1);
        auto* to = reinterpret_cast<wchar_t*>(lp);
        std::copy_n(text_->text.data(), count, to);
        to[count] = L'\0';
        return static_cast<LRESULT>(count);
    }
    case WM_SETTEXT: SetText(lp ? reinterpret_cast<const wchar_t*>(lp) : L""); return TRUE;
    case EM_GETSEL: {
        const auto from = static_cast<DWORD>(std::min(anchor_, caret_)), to = static_cast<DWORD>(std::max(anchor_, caret_));
        if (wp) *reinterpret_cast<DWORD*>(wp) = from;
        if (lp) *reinterpret_cast<DWORD*>(lp) = to;
        return MAKELRESULT(std::min<DWORD>(from, 0xFFFF), std::min<DWORD>(to, 0xFFFF));
    }
    case EM_SETSEL: {
        const auto at = [&](LPARAM p) { return p < 0 ? text_->text.size() : std::min(static_cast<size_t>(p), text_->text.size()); };
        if (static_cast<int>(wp) == -1) return 0;  // as an edit does: the selection stays
        anchor_ = at(static_cast<int>(wp));
        MoveCaret(at(static_cast<int>(lp)), true);
        return 0;
    }
    case WM_COPY: Copy(); return 0;
    case WM_CHAR: return 0;  // read-only
    case WM_KEYDOWN: OnKey(wp); return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: ScrollBy(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, wp); return 0;
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        wheel_ += GET_WHEEL_DELTA_WPARAM(wp);
        const int turns = wheel_ / WHEEL_DELTA;
        wheel_ -= turns * WHEEL_DELTA;
        const long long to = static_cast<long long>(top_) - static_cast<long long>(turns) * std::min<UINT>(lines, static_cast<UINT>(Rows()));
        Scroll(SB_VERT, static_cast<size_t>(std::max(0LL, to)), 0);
        return 0;
    }
    case WM_LBUTTONDOWN:
        SetFocus(hwnd_);
        SetCapture(hwnd_);
        MoveCaret(OffsetAt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)), (wp & MK_SHIFT) != 0);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd_) MoveCaret(OffsetAt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)), true);
        return std::nullopt;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd_) ReleaseCapture();
        return std::nullopt;  // the click event goes on
    case WM_LBUTTONDBLCLK: {  // the word under the mouse: a hash alone
        size_t from = OffsetAt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)), to = from;
        while (from > 0 && IsWordChar(text_->text[from - 1])) --from;
        while (to < text_->text.size() && IsWordChar(text_->text[to])) ++to;
        anchor_ = from;
        MoveCaret(to, true);
        return 0;
    }
    case WM_CONTEXTMENU: ContextMenu(lp); return 0;
    case WM_SETFOCUS:
        CreateCaret(hwnd_, nullptr, 1, lineHeight_);
        PlaceCaret();
        ::ShowCaret(hwnd_);
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_KILLFOCUS:
        DestroyCaret();
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    }
    return std::nullopt;
}

}  // namespace ui
