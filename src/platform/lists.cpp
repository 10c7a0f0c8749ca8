#include "platform/lists.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cwctype>

#include "platform/handle.h"
#include "platform/win_error.h"

namespace platform {

namespace {

bool IsDrivePath(const std::wstring& p) { return p.size() >= 2 && p[1] == L':' && std::iswalpha(p[0]); }

// "C:\" for a drive path, "\\server\share" for a network path.
std::wstring RootOf(const std::wstring& path) {
    if (IsDrivePath(path)) return path.substr(0, 2) + L"\\";
    size_t slash = path.find(L'\\', 2);
    if (slash != std::wstring::npos) slash = path.find(L'\\', slash + 1);
    return path.substr(0, slash);
}

std::wstring FullPath(const std::wstring& path) {
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) ThrowLastError();
    std::wstring full(n, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), n, full.data(), nullptr));
    return full;
}

// The path as the file system spells it, when it can tell.
std::wstring LongPath(const std::wstring& path) {
    DWORD n = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (n == 0) return path;
    std::wstring out(n, L'\0');
    out.resize(GetLongPathNameW(path.c_str(), out.data(), n));
    return out;
}

bool Reachable(const std::wstring& folder) {
    const DWORD attrs = GetFileAttributesW(folder.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool LessNoCase(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) < 0; }
bool EqualNoCase(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    return folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

// The names in a folder that match a pattern, without "." and "..".
template <class Keep>
std::vector<std::wstring> ListFolder(const std::wstring& folder, const std::wstring& pattern, bool dirsOnly, Keep keep) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileExW(Join(folder, pattern).c_str(), FindExInfoBasic, &data,
                                     dirsOnly ? FindExSearchLimitToDirectories : FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L".." && keep(data.dwFileAttributes)) names.push_back(name);
    } while (FindNextFileW(find.get(), &data));
    return names;
}

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

std::wstring CurrentFolder() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring dir(n, L'\0');
    dir.resize(GetCurrentDirectoryW(n, dir.data()));
    return dir;
}

}  // namespace

std::wstring ResolveFolder(const std::wstring& path) {
    if (path.empty()) throw RuntimeError(err::PathNotFound);
    std::wstring full;
    if (IsDrivePath(path) && (path.size() == 2 || path[2] == L' ')) {
        // A drive list's text: that drive's current folder, else its root.
        full = FullPath(path.substr(0, 2));
        if (!Reachable(full)) full = RootOf(full);
    } else {
        full = FullPath(path);
    }
    const DWORD attrs = GetFileAttributesW(full.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        if (!Reachable(RootOf(full))) throw RuntimeError(err::DeviceUnavailable);
        if (code == ERROR_FILE_NOT_FOUND) throw RuntimeError(err::PathNotFound);
        throw FromWin32(code);
    }
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) throw RuntimeError(err::PathNotFound);
    full = LongPath(full);
    if (full.size() > RootOf(full).size() && full.back() == L'\\') full.pop_back();
    if (IsDrivePath(full)) full[0] = static_cast<wchar_t>(std::towupper(full[0]));
    return full;
}

// ---- DriveList ----

DriveList::DriveList(HWND hwnd, int index, FormEvents& events) : Control(hwnd, index, events) {
    SendMessageW(hwnd_, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(SystemImageList()));
    Fill();
    selected_ = Find(CurrentFolder()[0]);
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
}

void DriveList::Fill() {
    std::wstring buffer(GetLogicalDriveStringsW(0, nullptr), L'\0');
    buffer.resize(GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data()));
    drives_.clear();
    SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* root = buffer.c_str(); *root; root += wcslen(root) + 1) {
        wchar_t label[MAX_PATH + 1] = L"";
        const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
        GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
        SetErrorMode(oldMode);
        std::wstring text{static_cast<wchar_t>(std::towlower(root[0])), L':'};
        if (*label) text += std::wstring(L" [") + label + L"]";
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = static_cast<INT_PTR>(drives_.size());
        item.pszText = text.data();
        item.iImage = item.iSelectedImage = IconIndex(root, false);
        SendMessageW(hwnd_, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        drives_.push_back(text);
    }
}

int DriveList::Find(wchar_t letter) const {
    for (size_t i = 0; i < drives_.size(); ++i)
        if (std::towlower(drives_[i][0]) == std::towlower(letter)) return static_cast<int>(i);
    return -1;
}

std::wstring DriveList::Drive() const { return selected_ < 0 ? std::wstring() : drives_[static_cast<size_t>(selected_)]; }

void DriveList::SetDrive(const std::wstring& text) {
    if (text.empty() || !std::iswalpha(text[0])) return;  // a network path names no drive
    const int i = Find(text[0]);
    if (i < 0) throw RuntimeError(err::DeviceUnavailable);
    if (i == selected_) return;
    selected_ = i;
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    events_.OnChange(index_);
}

void DriveList::Place(const RECT& rc, int dpi) {
    // A combo box sizes its closed field to its font and icons; the height given is the drop-down's.
    MoveWindow(hwnd_, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top + MulDiv(300, dpi, 96), TRUE);
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

// ---- DirList ----

DirList::DirList(HWND hwnd, int index, FormEvents& events) : Control(hwnd, index, events) {
    path_ = ResolveFolder(CurrentFolder());
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
    auto subfolders = ListFolder(path_, L"*", true, [](DWORD a) {
        return (a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_HIDDEN);
    });
    std::sort(subfolders.begin(), subfolders.end(), LessNoCase);
    for (const auto& name : subfolders) entries_.push_back({Join(path_, name), name, selected + 1, false});

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
    path_ = ResolveFolder(CurrentFolder());
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
    std::vector<std::wstring> names;
    const auto keep = [](DWORD a) {
        return !(a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    };
    size_t pieces = 0;
    for (size_t pos = 0; pos <= pattern_.size();) {
        size_t end = std::min(pattern_.find(L';', pos), pattern_.size());
        std::wstring piece = pattern_.substr(pos, end - pos);
        pos = end + 1;
        piece.erase(0, piece.find_first_not_of(L' '));
        piece.erase(piece.find_last_not_of(L' ') + 1);
        if (piece.empty()) continue;
        ++pieces;
        if (piece.find_first_of(L"\\/:") != std::wstring::npos) continue;  // names only, never another folder
        auto found = ListFolder(path_, piece, false, keep);
        names.insert(names.end(), found.begin(), found.end());
    }
    if (pieces == 0) names = ListFolder(path_, L"*", false, keep);
    std::sort(names.begin(), names.end(), LessNoCase);
    names.erase(std::unique(names.begin(), names.end(), EqualNoCase), names.end());

    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    for (const auto& name : names) SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

}  // namespace platform
