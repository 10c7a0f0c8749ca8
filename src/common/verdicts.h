// The verdicts of a check, a line each: the kind's word, then its fields, separated by tabs
// ("CHANGED<tab>MD5, SHA1<tab>name"). Written by the tool (-verdicts), read by the window.
#pragma once
#include <array>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace common::verdicts {

enum Kind { Right, Changed, Missing, Unreadable, NotRecorded, Unsupported, BadLine, Untold, Inexact, Refused, BadEntry, Incomplete,
            Error, Interrupted };
inline constexpr int KindCount = Interrupted + 1;

struct Form {
    std::wstring_view word;
    size_t least, most;  // how many fields follow the word
};

inline constexpr size_t Any = static_cast<size_t>(-1);

// Indexed as Kind; a name is last and may be empty where the tool could not read it.
inline constexpr std::array<Form, KindCount> Forms{{
    {L"RIGHT", 1, 1},         // name
    {L"CHANGED", 2, 2},       // the algorithms that differ ("MD5, SHA1"), name
    {L"MISSING", 1, 1},       // name
    {L"UNREADABLE", 2, 2},    // the system's error number, name
    {L"NOT_RECORDED", 2, 2},  // the error number when the list was recorded, name
    {L"UNSUPPORTED", 3, 3},   // the algorithm the tool lacks, line, name
    {L"BAD_LINE", 2, 2},      // line, name
    {L"UNTOLD", 2, 2},        // the algorithm a hash's length suggested, name
    {L"INEXACT", 1, 1},       // a name the database could not hold exactly
    {L"REFUSED", 2, 2},       // line, a network or device name
    {L"BAD_ENTRY", 1, 1},     // line
    {L"INCOMPLETE", 0, Any},  // the list's recording was interrupted
    {L"ERROR", 1, 1},         // why the list cannot be checked
    {L"INTERRUPTED", 0, 1},   // the check was stopped; then the files left, once counted (the last such line counts)
}};

// The verdict's line in UTF-8, with its line end; a tab or line end inside a field becomes U+FFFD.
std::string Write(Kind kind, std::initializer_list<std::wstring_view> fields);

struct Verdict {
    Kind kind;
    std::vector<std::wstring_view> fields;  // parts of the line read
};

// A line without its line end; none when its word is no kind's or its fields are not as many as the kind has.
std::optional<Verdict> Read(std::wstring_view line);

}  // namespace common::verdicts
