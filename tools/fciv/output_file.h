// A file the tool writes (the database, a sums file, a check's verdicts) is written
// to a temporary file in its folder and moved into place only when complete, so a
// failed or interrupted run keeps the old one. An interrupted run's entries are kept
// beside an existing file, or in its place when there is none, marked as interrupted.
#pragma once
#include <chrono>
#include <string>
#include <vector>

#include "fciv/engine/walker.h"
#include "win32/handle.h"

namespace fciv {

// What becomes of the file a run replaces: a database stays when the run is
// interrupted; verdicts are a result of this run alone, so the old ones are
// removed when it starts and an interrupted run's take their place.
enum class OldFile { KeptWhenInterrupted, Removed };

class OutputFile {
public:
    // `path` is a full path. Removes what dead runs left in that folder, then
    // creates the temporary file and makes sure the file at `path` can be
    // created or replaced; Error() tells whether that worked.
    // `header`, `interrupted` and `footer` frame the entries.
    OutputFile(const std::wstring& path, std::string header, std::string interrupted, std::string footer,
                 OldFile old = OldFile::KeptWhenInterrupted);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    unsigned long Error() const { return error_; }
    void Append(const std::string& text);
    // Writes the rest and moves the file into place; 0 or the system's error.
    // An interrupted run's database goes beside the old one when that exists,
    // and nowhere when it also finished nothing.
    unsigned long Commit(bool interrupted, bool finishedAny);
    // Where Commit() wrote; empty when nowhere.
    const std::wstring& Written() const { return written_; }
    // The files the tool writes that exist now, not to be hashed.
    std::vector<OwnFile> OwnFiles() const;

private:
    void Flush();
    std::wstring path_, temp_, beside_, written_;
    OldFile old_;
    win32::UniqueFile file_;
    std::string buffer_, interrupted_, footer_;
    std::chrono::steady_clock::time_point flushed_ = std::chrono::steady_clock::now();
    size_t appended_ = 0;  // the header and the first entry are written at once
    unsigned long error_ = 0;
};

// Why a path cannot be written as an output (a folder, a name ending in a separator);
// empty when it can.
std::wstring OutputPathProblem(const std::wstring& path);

}  // namespace fciv
