#include "ui/lists.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cwctype>
#include <memory>

#include "common/mask.h"
#include "common/paths.h"
#include "common/runtime_error.h"
#include "win32/folders.h"
#include "win32/system_text.h"

namespace ui {

namespace {

// Index in the system's small image list for a path, or for a plain folder.
int IconIndex(const std::wstring& path, bool open) {
    SHFILEINFOW info{};
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0);
    if (!path.empty() && SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, flags)) return info.iIcon;
    SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, flags | SHGFI_USEFILEATTRIBUTES);
    return info.iIcon;
}

HIMAGELIST SystemImageList() {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                                                       SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

// An owner-drawn item: its icon `indent` (at 96 DPI) in from the left, then its text.
void DrawItem(const DRAWITEMSTRUCT& item, int icon, int indent, const std::wstring& text, int dpi) {
    const bool selected = item.itemState & ODS_SELECTED;
    const RECT& rc = item.rcItem;
    FillRect(item.hDC, &rc, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int size = MulDiv(16, dpi, 96);
    const int x = rc.left + MulDiv(2 + indent, dpi, 96);
    ImageList_Draw(SystemImageList(), icon, item.hDC, x, rc.top + (rc.bottom - rc.top - size) / 2, ILD_TRANSPARENT);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT textRect{x + size + MulDiv(4, dpi, 96), rc.top, rc.right, rc.bottom};
    DrawTextW(item.hDC, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &rc);
}

// Fills a list box with texts, drawn once at the end.
void FillListBox(HWND list, const std::vector<const std::wstring*>& texts) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::wstring* text : texts) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text->c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

// ---- ListedFolder ----

bool ListedFolder::Current(const std::wstring& path) const {
    return input_ == InputCount() && EqualNoCase(path, path_);
}

void ListedFolder::Listed(const std::wstring& path) {
    path_ = path;
    input_ = InputCount();
}

// ---- DriveList ----

namespace {
constexpr int VisibleDrives = 16;
int ItemHeight(int dpi) { return MulDiv(18, dpi, 96); }
int FieldHeight(int dpi) { return MulDiv(15, dpi, 96); }
}  // namespace

DriveList::DriveList(const ControlSite& site)
    : Control(site, WC_COMBOBOXW, WS_TABSTOP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL,
              OpenHeight(site.dpi)) {
    SendMessageW(hwnd_, CB_SETMINVISIBLE, VisibleDrives, 0);
    Fill();
    selected_ = Find(win32::StartFolder()[0]);
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
}

int DriveList::OpenHeight(int dpi) { return FieldHeight(dpi) + MulDiv(8, dpi, 96) + VisibleDrives * ItemHeight(dpi); }

namespace {
constexpr UINT LabelMessage = WM_APP + 1;
// A drive's label asked on the system's thread pool, and the answer posted back to the list.
struct LabelFound {
    HWND list;
    wchar_t letter;
    std::wstring root, label;
};
std::wstring DriveText(wchar_t letter, const std::wstring& label) {
    return std::wstring{letter, L':'} + (label.empty() ? L"" : L" [" + label + L"]");
}
}  // namespace

void DriveList::Fill() {
    drives_.clear();
    SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& root : win32::DriveRoots()) {
        const wchar_t letter = static_cast<wchar_t>(std::towlower(root[0]));
        const auto known = labels_.find(letter);
        const std::wstring text = DriveText(letter, known == labels_.end() ? L"" : known->second);
        SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));  // typing a letter finds it
        drives_.push_back({text, IconIndex(root, false)});
        AskLabel(root);
    }
}

void DriveList::AskLabel(const std::wstring& root) {
    const wchar_t letter = static_cast<wchar_t>(std::towlower(root[0]));
    if (!asking_.insert(letter).second) return;  // the last question has no answer yet
    // The pool, not a detached thread of our own: nothing of the question outlives its answer.
    auto question = std::make_unique<LabelFound>(LabelFound{hwnd_, letter, root, {}});
    const auto ask = [](PTP_CALLBACK_INSTANCE, void* context) {
        auto* found = static_cast<LabelFound*>(context);
        found->label = win32::VolumeLabel(found->root);
        if (!PostMessageW(found->list, LabelMessage, 0, reinterpret_cast<LPARAM>(found))) delete found;
    };
    if (TrySubmitThreadpoolCallback(ask, question.get(), nullptr)) question.release();
    else asking_.erase(letter);  // the drive goes without its label
}

bool DriveList::OnAppMessage(UINT msg, WPARAM, LPARAM lp) {
    if (msg != LabelMessage) return false;
    const std::unique_ptr<LabelFound> found(reinterpret_cast<LabelFound*>(lp));
    asking_.erase(found->letter);
    labels_[found->letter] = found->label;
    const int i = Find(found->letter);
    if (i >= 0) {
        drives_[static_cast<size_t>(i)].text = DriveText(found->letter, found->label);
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
    return true;
}

void DriveList::Refill() {
    const wchar_t letter = selected_ < 0 ? L'\0' : drives_[static_cast<size_t>(selected_)].text[0];
    Fill();
    selected_ = Find(letter);
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
}

int DriveList::Find(wchar_t letter) const {
    for (size_t i = 0; i < drives_.size(); ++i)
        if (std::towlower(drives_[i].text[0]) == std::towlower(letter)) return static_cast<int>(i);
    return -1;
}

std::wstring DriveList::Drive() const { return selected_ < 0 ? std::wstring() : drives_[static_cast<size_t>(selected_)].text; }

void DriveList::SetDrive(const std::wstring& text) {
    if (text.empty() || !std::iswalpha(text[0])) return;  // a network path names no drive
    int i = Find(text[0]);
    if (i < 0) {  // plugged in or mapped since
        Refill();
        i = Find(text[0]);
    }
    if (i < 0) throw common::RuntimeError(common::err::DeviceUnavailable);
    if (i == selected_) return;
    selected_ = i;
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    Raise(Event::Change);
}

void DriveList::Place(const RECT& rc, int dpi) {
    dpi_ = dpi;
    SendMessageW(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), FieldHeight(dpi));
    SendMessageW(hwnd_, CB_SETITEMHEIGHT, 0, ItemHeight(dpi));
    MoveWindow(hwnd_, rc.left, rc.top, rc.right - rc.left, OpenHeight(dpi), TRUE);
}

void DriveList::OnCommand(WORD code) {
    if (code == CBN_DROPDOWN) {
        Refill();  // drives come and go
    } else if (code == CBN_SELCHANGE) {
        const int i = static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
        if (i >= 0 && i != selected_) {
            selected_ = i;
            Raise(Event::Change);
        }
    }
}

bool DriveList::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID >= drives_.size()) {
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));  // the closed field with no drive
        return true;
    }
    DrawItem(item, drives_[item.itemID].icon, 0, drives_[item.itemID].text, dpi_);
    return true;
}

// ---- DirList ----

DirList::DirList(const ControlSite& site)
    : Control(site, WC_LISTBOXW,
              WS_TABSTOP | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER) {
    path_ = win32::StartFolder();
    if (win32::IsDrivePath(path_)) lastFolders_[path_[0]] = path_;
    Fill();
}

void DirList::SetPath(const std::wstring& path) {
    // Given only a drive, the list goes back to the folder it last showed there.
    const bool driveOnly = win32::IsDrivePath(path) && (path.size() == 2 || path[2] == L' ');
    const auto last = driveOnly ? lastFolders_.find(static_cast<wchar_t>(std::towupper(path[0]))) : lastFolders_.end();
    const std::wstring resolved = win32::ResolveFolder(last != lastFolders_.end() && win32::Reachable(last->second) ? last->second : path);
    if (win32::IsDrivePath(resolved)) lastFolders_[resolved[0]] = resolved;
    const bool changed = !EqualNoCase(resolved, path_);
    path_ = resolved;
    if (!listed_.Current(path_)) Fill();
    if (changed) Raise(Event::Change);
}

void DirList::Fill() {
    entries_.clear();
    const std::wstring root = win32::RootOf(path_);
    std::wstring label = root;
    if (win32::IsDrivePath(label)) label[0] = static_cast<wchar_t>(std::towlower(label[0]));
    entries_.push_back({root, label, 0, true});
    for (size_t pos = root.size(); pos < path_.size();) {
        if (path_[pos] == L'\\') ++pos;
        const size_t end = std::min(path_.find(L'\\', pos), path_.size());
        entries_.push_back({path_.substr(0, end), path_.substr(pos, end - pos), entries_.back().level + 1, true});
        pos = end;
    }
    const int selected = static_cast<int>(entries_.size()) - 1;
    for (const auto& name : win32::SubfolderNames(path_)) entries_.push_back({common::JoinPath(path_, name), name, selected + 1, false});

    std::vector<const std::wstring*> labels;
    for (const Entry& e : entries_) labels.push_back(&e.label);
    FillListBox(hwnd_, labels);
    SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    listed_.Listed(path_);
}

void DirList::OpenSelected() {
    const auto i = static_cast<size_t>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
    if (i >= entries_.size()) return;
    try {
        SetPath(entries_[i].path);
    } catch (const common::RuntimeError&) {
        Fill();  // the folder went away meanwhile: show what is there now
    }
}

void DirList::OnCommand(WORD code) {
    if (code == LBN_DBLCLK) OpenSelected();
}

bool DirList::OnKeyDown(WPARAM key) {
    if (key != VK_RETURN) return false;
    OpenSelected();
    return true;
}

void DirList::Place(const RECT& rc, int dpi) {
    dpi_ = dpi;
    SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, MulDiv(18, dpi, 96));
    Control::Place(rc, dpi);
}

bool DirList::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID >= entries_.size()) return false;
    const Entry& e = entries_[item.itemID];
    DrawItem(item, IconIndex(e.level == 0 ? e.path : std::wstring(), e.open), 10 * e.level, e.label, dpi_);
    return true;
}

// ---- FileList ----

FileList::FileList(const ControlSite& site)
    : Control(site, WC_LISTBOXW, WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER) {
    SetPath(win32::StartFolder());
}

void FileList::SetPath(const std::wstring& path) {
    const std::wstring resolved = win32::ResolveFolder(path);
    if (listed_.Current(resolved)) return;
    path_ = resolved;
    names_ = win32::FileNames(path_);
    win32::SortNames(names_);
    listed_.Listed(path_);
    Show();
}

void FileList::SetPattern(const std::wstring& pattern) {
    pattern_ = pattern;
    Show();  // the names already listed, filtered again
}

void FileList::Show() {
    // Exactly the files the hashing tool takes: its own mask rules, every file but folders.
    const common::Mask mask(pattern_, win32::SameCharIgnoringCase);
    std::vector<const std::wstring*> shown;
    for (const std::wstring& name : names_)
        if (mask.Matches(name)) shown.push_back(&name);
    FillListBox(hwnd_, shown);
}

}  // namespace ui
