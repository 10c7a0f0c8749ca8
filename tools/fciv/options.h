// The tool's command line: FOLDER [-r] [-wp] [-type MASK] [-md5|-sha1|-both] -xml DBPATH
#pragma once
#include <string>
#include <vector>

namespace fciv {

struct Options {
    std::wstring folder;
    bool recursive = false;
    bool namesOnly = false;  // -wp: the file name without its path
    std::wstring mask;       // empty: every file
    bool md5 = false, sha1 = false;
    std::wstring database;
    bool help = false;
};

struct ParseResult {
    Options options;
    std::wstring error;  // empty when the command line is good
};

// Parses the arguments after the program's name.
ParseResult ParseArguments(const std::vector<std::wstring>& args);

}  // namespace fciv
