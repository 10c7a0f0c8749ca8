// The tool's command line:
//   FOLDER [-r] [-wp] [-type MASK] [-md5|-sha1|-both] -xml DBPATH   record
//   -v -xml DBPATH [FOLDER]  |  -v -sums SUMSFILE [FOLDER]           check
//      [-ignoremissing] [-strict] [-status] [-verdicts PATH]
//   -list -xml DBPATH [FOLDER] [-md5|-sha1]                         list
#pragma once
#include <string>
#include <vector>

#include "common/exit_codes.h"

namespace fciv {

enum class Mode { Record, Check, List };

struct Options {
    Mode mode = Mode::Record;
    std::wstring folder;     // record: the folder to hash; check, list: where relative names are (may be empty)
    bool recursive = false;
    bool namesOnly = false;  // -wp: the file name without its path
    std::wstring mask;       // empty: every file
    bool md5 = false, sha1 = false;
    std::wstring database;   // -xml
    std::wstring sums;       // -sums
    bool ignoreMissing = false;  // -ignoremissing: files not there are neither reported nor failed
    bool strict = false;         // -strict: a line that is not a sums line fails the check
    bool status = false;         // -status: nothing on the output, the exit code tells
    std::wstring verdicts;       // -verdicts: every file's verdict into this file, for the window
    bool help = false;
};

struct ParseResult {
    Options options;
    std::wstring error;  // empty when the command line is good
};

// Parses the arguments after the program's name.
ParseResult ParseArguments(const std::vector<std::wstring>& args);

}  // namespace fciv
