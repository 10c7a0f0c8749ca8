// A runtime error: a number in the program's numbering and a Russian description; the window's,
// raised by its Win32 services too.
#pragma once
#include <exception>
#include <string>

namespace common {

namespace err {
inline constexpr int InvalidArgument = 5;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIo = 57;
inline constexpr int FileExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
}  // namespace err

class RuntimeError : public std::exception {
public:
    RuntimeError(int number, std::wstring description)
        : number_(number), description_(std::move(description)) {}
    // The error with its standard description.
    explicit RuntimeError(int number);

    int Number() const { return number_; }
    const std::wstring& Description() const { return description_; }
    const char* what() const noexcept override { return "runtime error"; }

private:
    int number_;
    std::wstring description_;
};

}  // namespace common
