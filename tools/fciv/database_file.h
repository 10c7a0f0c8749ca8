// The database is written to a temporary file in its folder and moved into
// place only when complete, so a failed or interrupted run keeps the old one.
#pragma once
#include <string>

#include "platform/handle.h"

namespace fciv {

class DatabaseFile {
public:
    // `path` is a full path. Removes what dead runs left in that folder, then
    // creates the temporary file; Error() tells whether that worked.
    explicit DatabaseFile(const std::wstring& path);
    ~DatabaseFile();
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    unsigned long Error() const { return error_; }
    void Append(const std::string& text);
    // Writes the rest and moves the file into place; 0 or the system's error.
    unsigned long Commit();

private:
    void Flush();
    std::wstring path_, temp_;
    platform::UniqueFile file_;
    std::string buffer_;
    unsigned long error_ = 0;
    bool created_ = false;
};

// Why a path cannot be a database (a folder, a name ending in a separator);
// empty when it can.
std::wstring DatabasePathProblem(const std::wstring& path);

}  // namespace fciv
