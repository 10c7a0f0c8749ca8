// The window's own procedures, for the tests and the benchmarks.
#pragma once
#include <string>

#include "app/form1.h"

namespace app {
class FormProbe {
public:
    static void ReadHashDatabase(Form1& f, const std::wstring& path) { f.ReadHashDatabase(path); }
    static void SaveReport(Form1& f, const std::wstring& report) { f.SaveReport(report); }
    static void GoToPath(Form1& f, const std::wstring& path) { f.GoToPath(path); }
};
}  // namespace app
