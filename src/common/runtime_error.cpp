#include "common/runtime_error.h"

namespace common {

namespace {
const wchar_t* DescriptionOf(int number) {
    switch (number) {
    case err::InvalidArgument: return L"Недопустимый вызов процедуры или аргумент";
    case err::BadFileName: return L"Неверное имя или номер файла";
    case err::FileNotFound: return L"Файл не найден";
    case err::FileExists: return L"Файл уже существует";
    case err::DiskFull: return L"Диск заполнен";
    case err::DeviceUnavailable: return L"Устройство недоступно";
    case err::PermissionDenied: return L"Отказано в разрешении";
    case err::PathFileAccess: return L"Ошибка доступа к пути/файлу";
    case err::PathNotFound: return L"Путь не найден";
    default: return L"Ошибка ввода/вывода устройства";
    }
}
}  // namespace

RuntimeError::RuntimeError(int number) : RuntimeError(number, DescriptionOf(number)) {}

}  // namespace common
