// What the tool does, one function a mode; each returns the exit code.
#pragma once
#include <atomic>

#include "fciv/core/options.h"

namespace fciv {

int Record(const Options& o, const std::atomic<bool>& stop);  // hash a folder into a database
int Check(const Options& o, const std::atomic<bool>& stop);   // check files against a database or a sums file
int List(const Options& o);                             // print a database's entries as sums lines

}  // namespace fciv
