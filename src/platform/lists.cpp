#include "platform/lists.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cwctype>
#include <memory>
#include <system_error>
#include <thread>

#include "common/mask.h"
#include "platform/folders.h"
#include "platform/runtime_error.h"
#include "platform/system_text.h"

namespace platform {

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

}  // namespace

// ---- DriveList ----

namespace {
constexpr int VisibleDrives = 16;
int ItemHeight(int dpi) { return MulDiv(18, dpi, 96); }
int FieldHeight(int dpi) { return MulDiv(15, dpi, 96); }
}  // namespace

DriveList::DriveList(HWND hwnd, int index, FormEvents& events) : Control(hwnd, index, events) {
    SendMessageW(hwnd_, CB_SETMINVISIBLE, VisibleDrives, 0);
    Fill();
    selected_ = Find(StartFolder()[0]);
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
}

int DriveList::OpenHeight(int dpi) { return FieldHeight(dpi) + MulDiv(8, dpi, 96) + VisibleDrives * ItemHeight(dpi); }

namespace {
constexpr UINT LabelMessage = WM_APP + 1;
struct LabelFound {
    wchar_t letter;
    std::wstring label;
};
std::wstring DriveText(wchar_t letter, const std::wstring& label) {
    return std::wstring{letter, L':'} + (label.empty() ? L"" : L" [" + label + L"]");
}
}  // namespace

void DriveList::Fill() {
    drives_.clear();
    SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& root : DriveRoots()) {
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
    try {
        std::thread([hwnd = hwnd_, root, letter] {
            auto* found = new LabelFound{letter, VolumeLabel(root)};
            if (!PostMessageW(hwnd, LabelMessage, 0, reinterpret_cast<LPARAM>(found))) delete found;
        }).detach();
    } catch (const std::system_error&) {  // no thread: the drive goes without its label
        asking_.erase(letter);
    }
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

int DriveList::Find(wchar_t letter) const {
    for (size_t i = 0; i < drives_.size(); ++i)
        if (std::towlower(drives_[i].text[0]) == std::towlower(letter)) return static_cast<int>(i);
    return -1;
}

std::wstring DriveList::Drive() const { return selected_ < 0 ? std::wstring() : drives_[static_cast<size_t>(selected_)].text; }

void DriveList::SetDrive(const std::wstring& text) {
    if (text.empty() || !std::iswalpha(text[0])) return;  // a network path names no drive
    int i = Find(text[0]);
    if (i < 0) {  // plugged in or mapped since: read the drives again, keeping the selection
        const wchar_t current = selected_ < 0 ? L'\0' : drives_[static_cast<size_t>(selected_)].text[0];
        Fill();
        selected_ = Find(current);
        SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
        i = Find(text[0]);
    }
    if (i < 0) throw RuntimeError(err::DeviceUnavailable);
    if (i == selected_) return;
    selected_ = i;
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    events_.OnChange(index_);
}

void DriveList::Place(const RECT& rc, int dpi) {
    dpi_ = dpi;
    SendMessageW(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), FieldHeight(dpi));
    SendMessageW(hwnd_, CB_SETITEMHEIGHT, 0, ItemHeight(dpi));
    MoveWindow(hwnd_, rc.left, rc.top, rc.right - rc.left, OpenHeight(dpi), TRUE);
}

void DriveList::OnCommand(WORD code) {
    if (code == CBN_DROPDOWN) {
        // Drives come and go: list them afresh, keeping the selection.
        const wchar_t letter = Drive().empty() ? L'\0' : Drive()[0];
        Fill();
        selected_ = Find(letter);
        SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
    } else if (code == CBN_SELCHANGE) {
        const int i = static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
        if (i >= 0 && i != selected_) {
            selected_ = i;
            events_.OnChange(index_);
        }
    }
}

bool DriveList::OnDrawItem(const DRAWITEMSTRUCT& item) {
    RECT rc = item.rcItem;
    const bool selected = item.itemState & ODS_SELECTED;
    FillRect(item.hDC, &rc, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID >= drives_.size()) return true;
    const DriveItem& d = drives_[item.itemID];
    const int icon = MulDiv(16, dpi_, 96);
    ImageList_Draw(SystemImageList(), d.icon, item.hDC, rc.left + MulDiv(2, dpi_, 96), rc.top + (rc.bottom - rc.top - icon) / 2,
                   ILD_TRANSPARENT);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text{rc.left + icon + MulDiv(6, dpi_, 96), rc.top, rc.right, rc.bottom};
    DrawTextW(item.hDC, d.text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &rc);
    return true;
}

// ---- DirList ----

DirList::DirList(HWND hwnd, int index, FormEvents& events) : Control(hwnd, index, events) {
    path_ = StartFolder();
    if (IsDrivePath(path_)) lastFolders_[path_[0]] = path_;
    Fill();
}

void DirList::SetPath(const std::wstring& path) {
    // Given only a drive, the list goes back to the folder it last showed there.
    const bool driveOnly = IsDrivePath(path) && (path.size() == 2 || path[2] == L' ');
    const auto last = driveOnly ? lastFolders_.find(static_cast<wchar_t>(std::towupper(path[0]))) : lastFolders_.end();
    const std::wstring resolved = ResolveFolder(last != lastFolders_.end() && Reachable(last->second) ? last->second : path);
    if (IsDrivePath(resolved)) lastFolders_[resolved[0]] = resolved;
    const bool changed = !EqualNoCase(resolved, path_);
    path_ = resolved;
    Fill();
    if (changed) events_.OnChange(index_);
}

void DirList::Fill() {
    entries_.clear();
    const std::wstring root = RootOf(path_);
    std::wstring label = root;
    if (IsDrivePath(label)) label[0] = static_cast<wchar_t>(std::towlower(label[0]));
    entries_.push_back({root, label, 0, true});
    for (size_t pos = root.size(); pos < path_.size();) {
        if (path_[pos] == L'\\') ++pos;
        const size_t end = std::min(path_.find(L'\\', pos), path_.size());
        entries_.push_back({path_.substr(0, end), path_.substr(pos, end - pos), entries_.back().level + 1, true});
        pos = end;
    }
    const int selected = static_cast<int>(entries_.size()) - 1;
    for (const auto& name : SubfolderNames(path_)) entries_.push_back({Join(path_, name), name, selected + 1, false});

    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    for (const Entry& e : entries_) SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.label.c_str()));
    SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void DirList::OpenSelected() {
    const auto i = static_cast<size_t>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
    if (i >= entries_.size()) return;
    try {
        SetPath(entries_[i].path);
    } catch (const RuntimeError&) {
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
    const bool selected = item.itemState & ODS_SELECTED;
    RECT rc = item.rcItem;
    FillRect(item.hDC, &rc, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int icon = MulDiv(16, dpi_, 96);
    int x = rc.left + MulDiv(2 + 10 * e.level, dpi_, 96);
    ImageList_Draw(SystemImageList(), IconIndex(e.level == 0 ? e.path : std::wstring(), e.open), item.hDC, x,
                   rc.top + (rc.bottom - rc.top - icon) / 2, ILD_TRANSPARENT);
    x += icon + MulDiv(4, dpi_, 96);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text{x, rc.top, rc.right, rc.bottom};
    DrawTextW(item.hDC, e.label.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &rc);
    return true;
}

// ---- FileList ----

FileList::FileList(HWND hwnd, int index, FormEvents& events) : Control(hwnd, index, events) {
    path_ = StartFolder();
    Fill();
}

void FileList::SetPath(const std::wstring& path) {
    path_ = ResolveFolder(path);
    Fill();
}

void FileList::SetPattern(const std::wstring& pattern) {
    pattern_ = pattern;
    Fill();
}

void FileList::Fill() {
    // Exactly the files the hashing tool takes: its own mask rules, every file but folders.
    const common::Mask mask(pattern_, SameCharIgnoringCase);
    auto names = FileNames(path_);
    std::erase_if(names, [&](const std::wstring& name) { return !mask.Matches(name); });
    SortNames(names);

    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    for (const auto& name : names) SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

}  // namespace platform
