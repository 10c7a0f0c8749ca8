// fciv.exe: records MD5, SHA-1 and SHA-256 of the files of a folder into an XML database,
// and checks files against a database or a published sums file.
#include <windows.h>

#include <new>
#include <vector>

#include "fciv/core/options.h"
#include "fciv/engine/console.h"
#include "fciv/modes.h"

namespace fciv {

namespace {

const wchar_t Usage[] =
    L"fciv ПАПКА [-r] [-wp] [-type МАСКА] [-md5 | -sha1 | -both] [-sha256] -xml БАЗА\r\n"
    L"  Считает MD5, SHA-1 и/или SHA-256 файлов папки и пишет их в XML-базу.\r\n"
    L"  -r     со вложенными папками\r\n"
    L"  -wp    имена от ПАПКИ, без её пути (с -r: sub\\a.txt)\r\n"
    L"  -type  маска: * и ?, несколько через ; или , (по умолчанию все файлы)\r\n"
    L"  -md5, -sha1, -both, -sha256  какие хэши (по умолчанию MD5; -md5 -sha1 вместе - оба)\r\n"
    L"fciv ПАПКА [-r] [-type МАСКА] -sha256 -sums ФАЙЛ  пишет файл сумм, как sha256sum (имена от ПАПКИ, через /;\r\n"
    L"                                или -md5, -sha1 - один алгоритм)\r\n"
    L"fciv -v -xml БАЗА [ПАПКА]       проверяет файлы по базе (имена от папки - в ПАПКЕ, полные пути - без ПАПКИ)\r\n"
    L"fciv -v -sums ФАЙЛ [ПАПКА]      проверяет файлы по файлу сумм md5sum/sha1sum/sha256sum/sha384sum/sha512sum\r\n"
    L"  -ignoremissing  отсутствующие файлы не в счёт;  -strict  строки не сумм - ошибка;\r\n"
    L"  -status  ничего не выводит, итог в коде выхода;  -verdicts ФАЙЛ  итог по каждому файлу в ФАЙЛ\r\n"
    L"fciv -list -xml БАЗА [ПАПКА] [-md5|-sha1|-sha256]  печатает базу строками сумм (имена в ПАПКЕ - от неё, через /)\r\n"
    L"\r\n"
    L"fciv FOLDER [-r] [-wp] [-type MASK] [-md5 | -sha1 | -both] [-sha256] -xml DBPATH\r\n"
    L"  Hashes the files of a folder with MD5, SHA-1 and/or SHA-256 into an XML database.\r\n"
    L"  -r     include sub-folders\r\n"
    L"  -wp    names relative to FOLDER, without its path (with -r: sub\\a.txt)\r\n"
    L"  -type  mask: * and ?, several separated by ; or , (default: every file)\r\n"
    L"  -md5, -sha1, -both, -sha256  which hashes (default: MD5; -md5 -sha1 together: both)\r\n"
    L"  e.g. fciv D:\\photos -r -both -xml D:\\photos.xml\r\n"
    L"fciv FOLDER [-r] [-type MASK] -sha256 -sums OUT  writes a sums file as sha256sum does (names\r\n"
    L"                                relative to FOLDER, with /; or -md5, -sha1: one algorithm)\r\n"
    L"fciv -v -xml DBPATH [FOLDER]    checks the files a database names (relative names in FOLDER,\r\n"
    L"                                default: the current folder; full paths only without FOLDER)\r\n"
    L"fciv -v -sums SUMSFILE [FOLDER] checks the files a sums file names (names relative to FOLDER,\r\n"
    L"                                default: the sums file's)     e.g. fciv -v -sums SHA256SUMS\r\n"
    L"  -ignoremissing  files not there are not reported and do not fail the check\r\n"
    L"  -strict         lines that are not sums lines fail the check\r\n"
    L"  -status         prints nothing on the output: the exit code tells\r\n"
    L"  -verdicts PATH  also writes each file's verdict to PATH, a line each (what the window reads)\r\n"
    L"fciv -list -xml DBPATH [FOLDER] [-md5|-sha1|-sha256]  prints the entries as sums lines (names under\r\n"
    L"                                FOLDER relative to it, with /)  e.g. fciv -list -xml db.xml -md5 > MD5SUMS\r\n"
    L"Exit codes: 0 done (all right), 1 some files or folders could not be read, or did not check\r\n"
    L"out, 2 bad command line, paths or database (nothing written), 3 interrupted, 4 the database,\r\n"
    L"the output or the verdicts could not be written (the old database kept).\r\n";

int Run(const std::vector<std::wstring>& args, const std::atomic<bool>& stop) {
    const ParseResult parsed = ParseArguments(args);
    const Options& o = parsed.options;
    if (o.help) {
        Print(Stream::Out, Usage);
        return common::ExitOk;
    }
    if (!parsed.error.empty()) return Fail(common::ExitUsage, parsed.error + L"\r\n\r\n" + Usage);
    const int code = o.mode == Mode::Record ? Record(o, stop) : o.mode == Mode::Check ? Check(o, stop) : List(o);
    Finished();
    if (OutputFailed()) return Fail(common::ExitNotWritten, L"Не удалось записать вывод / cannot write the output");
    return code;
}

}  // namespace

}  // namespace fciv

namespace {

// Ctrl+C is caught from the start of the process: TLS callbacks run before the C runtime starts, under the
// loader's lock, which the thread that delivers a Ctrl+C takes too. So no Ctrl+C meets the system's own
// handler, which would end the process with exit code 0 under Wine.
void NTAPI OnProcessStart(PVOID, DWORD reason, PVOID) {
    if (reason == DLL_PROCESS_ATTACH) fciv::CatchInterrupts();
}
extern "C" __attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK processStart = OnProcessStart;

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::atomic<bool>& stop = fciv::CatchInterrupts();  // caught since OnProcessStart
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);  // no DLL from the tool's folder or the current one
    try {
        return fciv::Run(std::vector<std::wstring>(argv + 1, argv + argc), stop);
    } catch (const std::bad_alloc&) {
        return fciv::Fail(common::ExitSomeFailed, L"Недостаточно памяти / out of memory");
    } catch (...) {
        return fciv::Fail(common::ExitSomeFailed, L"Внутренняя ошибка / internal error");
    }
}
