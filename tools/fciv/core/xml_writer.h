// The hash database: UTF-8 XML, one <FILE_ENTRY> per file hashed and one
// <FILE_ERROR> per file or folder that could not be read.
#pragma once
#include <string>

#include "common/algorithms.h"

namespace fciv {

std::string DatabaseHeader();
std::string DatabaseFooter();
// One entry; an empty hash is left out. `replaced` tells whether the name held
// characters that XML cannot carry (written as U+FFFD).
std::string DatabaseEntry(const std::wstring& name, const common::HexHashes& hashes, bool& replaced);
// A file or folder that could not be read, with the system's error number.
std::string DatabaseError(const std::wstring& name, unsigned long error);
// The mark of a database whose recording was interrupted: entries are missing.
std::string DatabaseInterrupted();

// A name as XML character data: '&', '<', '>' escaped, tab, CR and LF as
// character references, what XML 1.0 cannot hold as U+FFFD.
std::string XmlText(const std::wstring& text, bool& replaced);
std::string ToHex(const unsigned char* bytes, size_t size);

}  // namespace fciv
