#include <algorithm>

#include "app/form1.h"
#include "common/paths.h"
#include "common/runtime_error.h"
#include "logic/navigation/trim_path.h"
#include "logic/texts.h"
#include "win32/files.h"

namespace app {

using common::RuntimeError;

void Form1::Drive1_Change() {
    try {
        Dir1.SetPath(Drive1.Drive());
    } catch (const RuntimeError& e) {
        HandleNavigationError(e);
    }
}

void Form1::Dir1_Change() {
    File1.SetPath(Dir1.Path());
    Drive1.SetDrive(Dir1.Path().substr(0, 1));
}

void Form1::Dir1_MouseUp(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) { Text1.SetText(Dir1.Path()); }

void Form1::Text1_KeyUp(int key, int /*shift*/) {
    if (key == 13) EnterPath();
}

// What Enter in the path box does.
void Form1::EnterPath() {
    if (const std::wstring clean = navigation::CleanTypedPath(Text1.Text()); clean != Text1.Text()) Text1.SetText(clean);
    try {
        Dir1.SetPath(Text1.Text());
    } catch (const RuntimeError& e) {
        HandleNavigationError(e);
        return;
    }
    GoToPath(Text1.Text());
}

// The picked folder is taken as if typed and entered, so that all three lists show it.
void Form1::Command1_Click() {
    const std::wstring p = navigation::CleanTypedPath(BrowseForFolder());
    if (p.empty()) return;
    Text1.SetText(p);
    EnterPath();
}

void Form1::OpenFolder(const std::wstring& path, unsigned count) {
    OpenOne(path);
    if (count > 1) Text4.SetText(texts::OnlyFirstDropped[0] + std::to_wstring(count) + texts::OnlyFirstDropped[1] + path);
}

void Form1::OpenOne(const std::wstring& path) {
    const std::wstring cleaned = navigation::CleanTypedPath(path), folder = win32::FolderFor(cleaned);
    // A list of hashes is checked against the files beside it, unless a job is running.
    const std::string first = win32::FileHead(cleaned);
    const job::ListKind kind = jobRunning_ ? job::ListKind::None : job::KindOfList(cleaned, first);
    // A report saved here with names relative to the folder hashed names the files of the folder the lists show.
    const auto isAppDir = [&](const std::wstring& f) {
        return CompareStringOrdinal(common::WithBackslash(f).c_str(), -1, AppDir.c_str(), -1, TRUE) == CSTR_EQUAL;
    };
    if (kind != job::ListKind::None && job::IsReportOfRelativeNames(first) && isAppDir(folder)) {
        if (!isAppDir(Dir1.Path())) return CheckList(cleaned, kind, Dir1.Path());
        return dialogs_.Message(texts::RelativeReportHere, ui::style::Exclamation, L"");  // no folder to check it in: say why
    }
    Text1.SetText(folder);
    EnterPath();
    if (kind != job::ListKind::None) CheckList(cleaned, kind);
    else if (!jobRunning_ && folder != cleaned && win32::Exists(cleaned)) {  // a file that is no list: the mask takes its name, so a job hashes it alone
        std::wstring name = cleaned.substr(cleaned.find_last_of(L'\\') + 1);
        std::replace_if(name.begin(), name.end(), [](wchar_t c) { return c == L';' || c == L','; }, L'?');  // the mask's separators
        Text3.SetText(name);
        Text4.SetText(texts::NotAListOpened + cleaned);
    }
}

void Form1::Text3_Change() { File1.SetPattern(Text3.Text()); }

std::wstring Form1::BrowseForFolder() { return dialogs_.PickFolder(texts::PickerTitle); }

void Form1::GoToPath(const std::wstring& path) {
    if (GoToPathBusy) return;
    GoToPathBusy = true;
    struct Clear {
        bool& busy;
        ~Clear() { busy = false; }
    } clear{GoToPathBusy};
    try {
        Dir1.SetPath(path);
        File1.SetPath(Dir1.Path());
        Drive1.SetDrive(Dir1.Path().substr(0, 1));
    } catch (const RuntimeError& e) {
        HandleNavigationError(e);
    }
}

void Form1::HandleNavigationError(const RuntimeError& e) {
    const std::wstring number = std::to_wstring(e.Number());
    constexpr int style = ui::style::Exclamation;
    switch (e.Number()) {
    case common::err::DeviceUnavailable:
        dialogs_.Message(texts::DeviceUnavailablePrompt + Drive1.Drive() + L"'", style,
                         texts::Numero + number + L" " + e.Description());
        Drive1.SetDrive(Dir1.Path());
        break;
    case common::err::PathNotFound:
        dialogs_.Message(texts::PathErrorPrompt + Text1.Text() + L"'", style, e.Description() + number);
        Text1.SetText(navigation::TrimToLastFolder(Text1.Text()));
        break;
    default:
        dialogs_.Message(e.Description() + texts::Numero + number, style, e.Description() + number);
        break;
    }
}

}  // namespace app
