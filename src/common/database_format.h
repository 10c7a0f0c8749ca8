// The hash database's elements: written by the tool, read by the window's
// report and by the tool's check.
//   <FCIV><FILE_ENTRY><name>…</name><MD5>…</MD5><SHA1>…</SHA1><SHA256>…</SHA256></FILE_ENTRY>…
//         <FILE_ERROR><name>…</name><error>N</error></FILE_ERROR>…
//         <INTERRUPTED></INTERRUPTED></FCIV>   (last, when the recording was interrupted)
#pragma once
#include <array>
#include <string_view>

#include "common/algorithms.h"

namespace common::database {

struct Element {
    std::wstring_view open, close;
    constexpr std::wstring_view Name() const { return open.substr(1, open.size() - 2); }
};

inline constexpr Element Root{L"<FCIV>", L"</FCIV>"};
inline constexpr Element Entry{L"<FILE_ENTRY>", L"</FILE_ENTRY>"};  // a file hashed
inline constexpr Element Unread{L"<FILE_ERROR>", L"</FILE_ERROR>"};  // a file or folder that could not be read
inline constexpr Element Interrupted{L"<INTERRUPTED>", L"</INTERRUPTED>"};  // entries are missing
inline constexpr Element Name{L"<name>", L"</name>"};
inline constexpr Element Md5{L"<MD5>", L"</MD5>"};
inline constexpr Element Sha1{L"<SHA1>", L"</SHA1>"};
inline constexpr Element Sha256{L"<SHA256>", L"</SHA256>"};
// An entry's hashes in the order it holds them, indexed as Algorithm.
inline constexpr std::array<Element, RecordedCount> Hashes{Md5, Sha1, Sha256};
inline constexpr Element Error{L"<error>", L"</error>"};  // the system's error number

}  // namespace common::database
