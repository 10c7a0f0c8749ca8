#include "platform/win_error.h"

namespace platform {

RuntimeError FromWin32(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND: return RuntimeError(err::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY: return RuntimeError(err::PathNotFound);
    case ERROR_NOT_READY:
    case ERROR_INVALID_DRIVE:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_UNRECOGNIZED_VOLUME: return RuntimeError(err::DeviceUnavailable);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return RuntimeError(err::PermissionDenied);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return RuntimeError(err::PathFileAccess);
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE: return RuntimeError(err::BadFileName);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return RuntimeError(err::FileExists);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return RuntimeError(err::DiskFull);
    case ERROR_INVALID_PARAMETER: return RuntimeError(err::InvalidArgument);
    default: return RuntimeError(err::DeviceIo);
    }
}

void ThrowLastError() { throw FromWin32(GetLastError()); }

}  // namespace platform
