// The hash database: UTF-8 XML, one <FILE_ENTRY> per file.
#pragma once
#include <string>

namespace fciv {

std::string DatabaseHeader();
std::string DatabaseFooter();
// One entry; an empty hash is left out.
std::string DatabaseEntry(const std::wstring& name, const std::string& md5Hex, const std::string& sha1Hex);

// UTF-16 to UTF-8; a lone surrogate keeps its own three-byte form, so names
// come back exactly through the window's reader.
std::string ToUtf8(const std::wstring& text);
// Escapes '&', '<' and '>'.
std::string EscapeXml(const std::string& text);
std::string ToHex(const unsigned char* bytes, size_t size);

}  // namespace fciv
