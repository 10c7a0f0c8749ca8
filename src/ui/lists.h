// The drive list, the directory list and the file list. Setting a value from
// code raises the list's Change event inside the assignment, and only when the
// value really changes; a failed set throws common::RuntimeError and leaves the list as it was.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace ui {

// Which folder a list last listed, and for which of the user's inputs: one key
// press or click lists a folder once, however many steps set it.
class ListedFolder {
public:
    bool Current(const std::wstring& path) const;
    void Listed(const std::wstring& path);

private:
    std::wstring path_;
    unsigned long input_ = 0;
};

class DriveList : public Control {
public:
    explicit DriveList(const ControlSite& site);
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

private:
    bool OnAppMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // Lists the drives afresh, keeping the selection.
    void Refill();
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
    explicit DirList(const ControlSite& site);
    std::wstring Path() const { return path_; }
    // Moves to the folder; a drive text such as "d: [data]" moves to the folder the
    // list last showed on that drive, or else to the drive's current folder.
    void SetPath(const std::wstring& path);
    void OnCommand(WORD code) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    void Place(const RECT& rc, int dpi) override;

private:
    bool OnKeyDown(WPARAM key) override;
    bool WantsEnter() const override { return true; }
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
    ListedFolder listed_;
    int dpi_ = 96;
};

class FileList : public Control {
public:
    explicit FileList(const ControlSite& site);
    std::wstring Path() const { return path_; }
    void SetPath(const std::wstring& path);
    std::wstring Pattern() const { return pattern_; }
    void SetPattern(const std::wstring& pattern);

private:
    void Show();
    std::wstring path_;
    std::vector<std::wstring> names_;  // the folder's files, sorted
    ListedFolder listed_;
    std::wstring pattern_ = L"*.*";
};

}  // namespace ui
