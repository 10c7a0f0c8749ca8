// The drive list, the directory list and the file list. Setting a value from
// code raises the list's Change event inside the assignment, and only when the
// value really changes; a failed set throws RuntimeError and leaves the list as it was.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/controls.h"

namespace platform {

class DriveList : public Control {
public:
    DriveList(HWND hwnd, int index, FormEvents& events);
    // The height to create it with: its closed field and its open list of about 16 drives.
    static int OpenHeight(int dpi);
    // The selected drive's text: "c: [label]".
    std::wstring Drive() const;
    // Selects the drive whose letter is the text's first character; drives that
    // appeared since the list was filled are found too.
    void SetDrive(const std::wstring& text);
    void OnCommand(WORD code) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    void Place(const RECT& rc, int dpi) override;
    bool OnAppMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Lists the drives at once, with the labels known so far; the labels are read
    // off the window's thread and shown as they come.
    void Fill();
    void AskLabel(const std::wstring& root);
    int Find(wchar_t letter) const;
    struct DriveItem {
        std::wstring text;
        int icon;
    };
    std::vector<DriveItem> drives_;  // in list order
    std::map<wchar_t, std::wstring> labels_;  // by letter, as last read
    std::set<wchar_t> asking_;                // letters whose label is being read
    int selected_ = -1;
    int dpi_ = 96;
};

class DirList : public Control {
public:
    DirList(HWND hwnd, int index, FormEvents& events);
    std::wstring Path() const { return path_; }
    // Moves to the folder; a drive text such as "d: [data]" moves to the folder the
    // list last showed on that drive, or else to the drive's current folder.
    void SetPath(const std::wstring& path);
    void OnCommand(WORD code) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    bool OnKeyDown(WPARAM key) override;
    void Place(const RECT& rc, int dpi) override;

private:
    struct Entry {
        std::wstring path, label;
        int level;
        bool open;
    };
    void Fill();
    void OpenSelected();
    std::wstring path_;
    std::map<wchar_t, std::wstring> lastFolders_;  // by drive letter
    std::vector<Entry> entries_;
    int dpi_ = 96;
};

class FileList : public Control {
public:
    FileList(HWND hwnd, int index, FormEvents& events);
    std::wstring Path() const { return path_; }
    void SetPath(const std::wstring& path);
    std::wstring Pattern() const { return pattern_; }
    void SetPattern(const std::wstring& pattern);

private:
    void Fill();
    std::wstring path_;
    std::wstring pattern_ = L"*.*";
};

}  // namespace platform
