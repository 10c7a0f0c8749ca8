// Every text the window shows, in one place, but the runtime errors' descriptions (common/runtime_error.cpp).
#pragma once
#include "common/report_format.h"

namespace texts {

inline constexpr wchar_t AppTitle[] = L"Tallymere";
inline constexpr wchar_t FormTitle[] = L"Хэш md5, sha1";

// Help box (F1).
inline constexpr wchar_t HelpTitle[] = L"Помощь";
inline constexpr wchar_t HelpLines[][64] = {
    L"1. Выберите каталог для хэширования",
    L"2. Выберите тип хэширования и др. параметры",
    L"3. Жмите кнопку 'Формировать'",
    L"Проверка: перетащите на окно файл сумм, базу fciv или отчёт",
    L"",
    L"Tallymere",
    L"Версия 1.0",
    L"https://github.com/tallymere/tallymere",
};

// Captions.
inline constexpr wchar_t Command1[] = L"...";
inline constexpr wchar_t Label3[] = L"Консольное выражение:";
inline constexpr wchar_t Label1[] = L"Тип хеширования:";
inline constexpr wchar_t Check1Md5[] = L"md5";
inline constexpr wchar_t Check1Sha1[] = L"sha1";
inline constexpr wchar_t Check1Sha256[] = L"sha256";
inline constexpr wchar_t Check2[] = L"Формировать для вложенных каталогов";
inline constexpr wchar_t Check3[] = L"Не сохранять полный путь (по умолчанию сохраняет полный путь к файлу).";
inline constexpr wchar_t Label2[] = L"Маска:";
inline constexpr wchar_t Check4[] = L"Сохранять в файл";
inline constexpr wchar_t Command2[] = L"Формировать";

// Hints.
inline constexpr wchar_t HintText1[] = L"Путь для формирования хэша, можно скопипастить сюда свой и нажать Enter для выбора.";
inline constexpr wchar_t HintCommand1[] = L"Выбор папки для хэша";
inline constexpr wchar_t HintMd5[] = L"Тип хэша md5";
inline constexpr wchar_t HintSha1[] = L"Тип хэша sha1";
inline constexpr wchar_t HintSha256[] = L"Тип хэша sha256: так публикуют суммы сегодня (SHA256SUMS)";
inline constexpr wchar_t HintCheck2[] = L"Будьте внимательны, когда выбираете этот пункт! При большом объёме/количественно вложенных папок/файлов процедура хэширования может занять длительное время.";
inline constexpr wchar_t HintCheck3[] = L"Сохраняет только имя файла без пути.";
inline constexpr wchar_t HintText3[] = L"Задаётся маска для выбора файлов";
inline constexpr wchar_t HintCheck4[] = L"Сохраняет данные в текстовый файл. Маска файла \"hash_ДАТА_Секунды.txt\"";
inline constexpr wchar_t HintText4[] = L"Консольный вариант для запуска с консоли с соответствующими настройками и путями.";
inline constexpr wchar_t HintText6[] = L"Здесь выводятся данные по файлам и хэшам к ним.";

// Navigation recovery.
inline constexpr wchar_t DeviceUnavailablePrompt[] = L"Устройство недоступно: '";
inline constexpr wchar_t PathErrorPrompt[] = L"Ошибка пути: '";
inline constexpr wchar_t Numero[] = L"№";
inline constexpr wchar_t PickerTitle[] = L"Выберите папку и получите путь для Хэша";

// The job.
inline constexpr wchar_t ToolNotFound[] = L"Не найдена программа fciv.exe. Её искали в папке программы\r";
inline constexpr wchar_t ToolNotFoundElsewhere[] = L"\rи там, где программы находит система.";
inline constexpr wchar_t FolderNotWritable[] = L"Нельзя писать в папку программы\r";
inline constexpr wchar_t FolderNotWritableAdvice[] =
    L"База и отчёты пишутся рядом с программой: положите её в папку, куда можно писать (не в Program Files).";
inline constexpr wchar_t RelativeReportHere[] =
    L"В отчёте имена без папок, а в списках открыта папка программы. Откройте в списках папку, которую хэшировали, "
    L"и перетащите отчёт снова (или положите отчёт в эту папку).";
inline constexpr wchar_t NotAListOpened[] = L"Это не список хэшей: открыта его папка, в маске его имя: ";
inline constexpr const wchar_t* OnlyFirstDropped[] = {L"Перетащено файлов: ", L", взят только первый: "};
inline constexpr wchar_t FileInTheWay[] = L"Нельзя заменить файл\r";
inline constexpr wchar_t FileInTheWayAdvice[] =
    L"Его держит открытым другая программа, или он только для чтения: закройте её (снимите атрибут \"Только чтение\") и повторите.";
inline constexpr wchar_t ToolWroteNothing[] = L"fciv.exe не записала результат\r";
inline constexpr wchar_t ToolExitCode[] = L"Код выхода ";
inline constexpr const wchar_t* ToolExit[] = {L"", L"", L": неверная команда или путь.", L": работа прервана.",
                                              L": не удалось записать файл (нет места на диске или доступа)."};

// Results.
inline constexpr wchar_t EmptyDatabase[] = L"Файл пуст.";
inline constexpr wchar_t ReadingReport[] = L"Чтение отчёта: ";  // and the percentage
inline constexpr wchar_t MenuCopy[] = L"Копировать";
inline constexpr wchar_t MenuSelectAll[] = L"Выделить все";
inline constexpr wchar_t NoDataBanner[] = L"***************\r\n Нет данных !\r\n***************";
// What the tool could not read, after the report.
inline constexpr auto& UnreadRule = common::report::Rule;
inline constexpr auto& UnreadCount = common::report::UnreadCount;
inline constexpr auto& UnreadError = common::report::UnreadError;
// The last line when the tool was interrupted: the report lacks files.
inline constexpr auto& InterruptedLine = common::report::Interrupted;

// The check of a list of hashes dropped on the window.
inline constexpr wchar_t CheckAllRight[] = L"Все файлы верны: ";
inline constexpr wchar_t CheckChanged[] = L"ИЗМЕНЁН ";
inline constexpr wchar_t CheckMissing[] = L"НЕТ ФАЙЛА: ";
inline constexpr wchar_t CheckUnreadable[] = L"НЕ ПРОЧИТАН: ";
inline constexpr wchar_t CheckNotRecorded[] = L"НЕ ЗАПИСАН: ";
inline constexpr wchar_t CheckUnsupported[] = L"НЕ ПРОВЕРЕН (";
inline constexpr wchar_t CheckUntold[] = L"АЛГОРИТМ НЕ ОПРЕДЕЛЁН (не ";
inline constexpr wchar_t CheckInexact[] = L"ИМЯ ЗАПИСАНО НЕТОЧНО: ";
inline constexpr wchar_t CheckRefused[] = L"ОТКАЗАНО (сетевое имя или устройство): ";
inline constexpr wchar_t CheckBadEntry[] = L"ЗАПИСЬ БЕЗ ИМЕНИ ИЛИ ХЭША: ";
inline constexpr wchar_t CheckLine[] = L"строка ";
inline constexpr wchar_t CheckIncomplete[] = L"База неполная: формирование было прервано";
inline constexpr wchar_t CheckError[] = L"Проверка невозможна: ";
inline constexpr wchar_t CheckRight[] = L"ВЕРНО: ";
inline constexpr const wchar_t* CheckSummary[] = {L"Верно: ", L", изменено: ", L", нет файла: ", L", не прочитано: "};
inline constexpr wchar_t CheckBadLines[] = L", строк не разобрано: ";
inline constexpr wchar_t CheckInterrupted[] = L"Проверка прервана";
inline constexpr wchar_t CheckNotChecked[] = L": не проверено файлов: ";
inline constexpr wchar_t CheckBadLine[] = L"НЕ РАЗОБРАНА ";
inline constexpr wchar_t CheckUnknown[] = L"НЕПОНЯТНЫЙ ИТОГ: ";

// Descriptions of the runtime errors the program raises for itself.
inline constexpr wchar_t ErrOutOfMemory[] = L"Недостаточно памяти";
inline constexpr wchar_t ErrInternal[] = L"Внутренняя ошибка";

}  // namespace texts
