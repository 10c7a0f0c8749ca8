#include "ui/win_error.h"

namespace ui {

logic::RuntimeError FromWin32(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND: return logic::RuntimeError(logic::err::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY: return logic::RuntimeError(logic::err::PathNotFound);
    case ERROR_NOT_READY:
    case ERROR_INVALID_DRIVE:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_UNRECOGNIZED_VOLUME: return logic::RuntimeError(logic::err::DeviceUnavailable);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return logic::RuntimeError(logic::err::PermissionDenied);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return logic::RuntimeError(logic::err::PathFileAccess);
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE: return logic::RuntimeError(logic::err::BadFileName);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return logic::RuntimeError(logic::err::FileExists);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return logic::RuntimeError(logic::err::DiskFull);
    case ERROR_INVALID_PARAMETER: return logic::RuntimeError(logic::err::InvalidArgument);
    default: return logic::RuntimeError(logic::err::DeviceIo);
    }
}

void ThrowLastError() { throw FromWin32(GetLastError()); }

}  // namespace ui
