// Reads a hash database as a stream with the system's XML parser (XmlLite):
// entities and character references resolved, no DTD, what is not well-formed
// an error. Memory stays small at any size.
#pragma once
#include <memory>
#include <string>

#include "common/algorithms.h"

namespace fciv {

struct DatabaseItem {
    enum Kind {
        File,         // a file hashed
        Unread,       // a file or folder that could not be read when recording
        Bad,          // an entry without a name or a well-formed hash
        Interrupted,  // the recording was interrupted: entries are missing
    } kind = File;
    std::wstring name;      // as written: a full path, or a name relative to a folder
    common::HexHashes hashes;  // MD5, SHA-1 and SHA-256; empty when the entry has none
    unsigned long error = 0;
    size_t line = 0;
};

class DatabaseReader {
public:
    explicit DatabaseReader(const std::wstring& path);
    ~DatabaseReader();
    DatabaseReader(const DatabaseReader&) = delete;
    DatabaseReader& operator=(const DatabaseReader&) = delete;

    // The next item in the file's order; false at its end, or when the file
    // cannot be read on: then Error() says why.
    bool Next(DatabaseItem& item);
    // Why the file is not a database: it cannot be read, is not well-formed,
    // is some other XML or has no entry. Empty when all is well.
    const std::wstring& Error() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// ", строка / line N": where in a list a message's line or entry is.
std::wstring AtLine(size_t number);

// What the tool says of a file that could not be read when the list was recorded.
std::wstring NotRecordedText(const std::wstring& name, unsigned long error);

// What the tool says of a list whose recording was interrupted.
inline constexpr wchar_t Incomplete[] = L"База неполная / incomplete: interrupted while recording";

// What a database entry that is no hashed file says, on one line.
std::wstring NotAFile(const DatabaseItem& item);

}  // namespace fciv
