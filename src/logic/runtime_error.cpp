#include "logic/runtime_error.h"

#include "logic/texts.h"

namespace logic {

namespace {
const wchar_t* DescriptionOf(int number) {
    switch (number) {
    case err::InvalidArgument: return texts::ErrInvalidArgument;
    case err::BadFileName: return texts::ErrBadFileName;
    case err::FileNotFound: return texts::ErrFileNotFound;
    case err::FileExists: return texts::ErrFileExists;
    case err::DiskFull: return texts::ErrDiskFull;
    case err::DeviceUnavailable: return texts::ErrDeviceUnavailable;
    case err::PermissionDenied: return texts::ErrPermissionDenied;
    case err::PathFileAccess: return texts::ErrPathFileAccess;
    case err::PathNotFound: return texts::ErrPathNotFound;
    default: return texts::ErrDeviceIo;
    }
}
}  // namespace

RuntimeError::RuntimeError(int number) : RuntimeError(number, DescriptionOf(number)) {}

}  // namespace logic
