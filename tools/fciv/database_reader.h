// Reads a hash database with the system's XML parser (XmlLite): entities and
// character references resolved, no DTD, what is not well-formed an error.
#pragma once
#include <string>
#include <vector>

namespace fciv {

struct RecordedFile {
    std::wstring name;       // as written: a full path, or a name relative to a folder
    std::string md5, sha1;   // lowercase hex; empty when the entry has none
    size_t line;
};

struct RecordedDatabase {
    std::vector<RecordedFile> entries;
    std::vector<size_t> badEntries;  // lines of entries without a name or a well-formed hash
    std::wstring error;              // why the file cannot be read as a database; empty when it can
};

RecordedDatabase ReadDatabase(const std::wstring& path);

}  // namespace fciv
