#include "win32/win_error.h"

namespace win32 {

common::RuntimeError FromWin32(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND: return common::RuntimeError(common::err::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY: return common::RuntimeError(common::err::PathNotFound);
    case ERROR_NOT_READY:
    case ERROR_INVALID_DRIVE:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_UNRECOGNIZED_VOLUME: return common::RuntimeError(common::err::DeviceUnavailable);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return common::RuntimeError(common::err::PermissionDenied);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return common::RuntimeError(common::err::PathFileAccess);
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE: return common::RuntimeError(common::err::BadFileName);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return common::RuntimeError(common::err::FileExists);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return common::RuntimeError(common::err::DiskFull);
    case ERROR_INVALID_PARAMETER: return common::RuntimeError(common::err::InvalidArgument);
    default: return common::RuntimeError(common::err::DeviceIo);
    }
}

void ThrowLastError() { throw FromWin32(GetLastError()); }

}  // namespace win32
