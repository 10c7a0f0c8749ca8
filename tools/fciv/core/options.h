// The tool's command line:
//   FOLDER [-r] [-wp] [-type MASK] [-md5|-sha1|-both] [-sha256] -xml DBPATH   record
//   FOLDER [-r] [-type MASK] [-md5|-sha1|-sha256] -sums OUT                      record a sums file
//   -v -xml DBPATH [FOLDER]  |  -v -sums SUMSFILE [FOLDER]           check
//      [-ignoremissing] [-strict] [-status] [-verdicts PATH]
//   -list -xml DBPATH [FOLDER] [-md5|-sha1|-sha256]                             list
#pragma once
#include <string>
#include <vector>

#include "common/algorithms.h"
#include "common/exit_codes.h"

namespace fciv {

enum class Mode { Record, Check, List };

struct Options {
    Mode mode = Mode::Record;
    std::wstring folder;     // record: the folder to hash; check, list: where relative names are (may be empty)
    bool recursive = false;
    bool namesOnly = false;  // -wp: the file name without its path
    std::wstring mask;       // empty: every file
    common::Algorithms hashes{};     // asked for; record: MD5 when none is
    std::wstring database;   // -xml
    std::wstring sums;       // -sums: check: the list; record: the sums file to write
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
