#include <gtest/gtest.h>

#include "common/paths.h"
#include "common/runtime_error.h"
#include "logic/job/check_list.h"
#include "logic/job/parameters.h"
#include "logic/navigation/trim_path.h"

namespace {

TEST(ParameterString, BuildsTheToolsCommandLine) {
    const struct {
        const wchar_t* folder; bool md5, sha1, sha256; const wchar_t* pattern; bool recursive, namesOnly; const wchar_t* expected;
    } cases[] = {
        {L"C:\\Data", true, false, false, L"*.*", false, false, L"C:\\Data -md5"},
        {L"D:\\", true, true, false, L"*.txt", true, true, L"D:\\ -r -wp -type *.txt -both"},
        {L"C:\\P", false, true, false, L"*.jpg", true, false, L"C:\\P -r -type *.jpg -sha1"},
        {L"C:\\Data", false, false, false, L"*.*", false, true, L"C:\\Data -wp"},
        {L"C:\\Data", true, true, true, L"*.*", false, false, L"C:\\Data -md5 -sha1 -sha256"},  // -both is md5 and sha1 alone
        {L"C:\\Data", false, true, true, L"*.*", false, false, L"C:\\Data -sha1 -sha256"},
        // Only the exact "*.*" leaves the mask out; the empty mask is passed too.
        {L"C:\\Data", true, false, false, L"*.* ", false, false, L"C:\\Data -type \"*.* \" -md5"},
        {L"C:\\Data", true, false, false, L"", false, false, L"C:\\Data -type  -md5"},
        // Each argument comes back whole by the Windows rules: blanks and tabs quoted, a quote escaped,
        // backslashes doubled where a quote follows them.
        {L"C:\\My Data\\", true, false, false, L"a\"b", false, false, L"\"C:\\My Data\\\\\" -type a\\\"b -md5"},
        {L"C:\\a\tb", true, false, false, L"x\\\" y", false, false, L"\"C:\\a\tb\" -type \"x\\\\\\\" y\" -md5"},
        {L"C:\\Папка", false, true, false, L"*.doc; *.txt", false, false, L"C:\\Папка -type \"*.doc; *.txt\" -sha1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(job::ParameterString(c.folder, job::SwitchText(c.recursive, c.namesOnly), job::MaskText(c.pattern),
                                       job::HashTypeText({{{c.md5, L"-md5"}, {c.sha1, L"-sha1"}, {c.sha256, L"-sha256"}}}), L"C:\\Program Files\\T\\" + job::DatabaseName(1)),
                  c.expected + std::wstring(L" -xml \"C:\\Program Files\\T\\dbsha.xml\""));
    }
}

TEST(TypedPaths, TrimmedToTheFolderAboveAndCleaned) {
    const struct { const wchar_t *path, *up; } trims[] = {
        {L"C:\\Temp\\Missing\\Deeper", L"C:\\Temp\\Missing\\"}, {L"C:\\Windows\\", L"C:\\"}, {L"C:\\", L"C:\\"},
        {L"\\\\server\\share\\docs", L"\\\\server\\share\\"}, {L"a\\", L"a\\"}, {L"docs", L"docs"}, {L"", L""}, {L"\\", L"\\"},
        {L"\\x", L"\\"}, {L"C:\\a\\b", L"C:\\a\\"},
    };
    for (const auto& c : trims) EXPECT_EQ(navigation::TrimToLastFolder(c.path), c.up) << c.path;
    const struct { const wchar_t *typed, *clean; } cleans[] = {
        {L"  C:\\a b\\c  ", L"C:\\a b\\c"}, {L" \" C:\\x \" ", L"C:\\x"}, {L"\"\"C:\\x\"\"", L"\"C:\\x\""}, {L"\"C:\\x", L"\"C:\\x"}, {L"\"", L"\""}, {L"\"\"", L""},
    };
    for (const auto& c : cleans) EXPECT_EQ(navigation::CleanTypedPath(c.typed), c.clean) << c.typed;
    EXPECT_EQ(common::WithBackslash(L"D:\\") + L"|" + common::WithBackslash(L"D:\\T"), L"D:\\|D:\\T\\");  // a drive's root keeps its one backslash
    EXPECT_EQ(common::FolderOf(L"C:\\a\\b.xml") + L"|" + common::FolderOf(L"C:\\b") + L"|" + common::FolderOf(L"x/y") + L"|" + common::FolderOf(L"b") + L"|" + common::FolderPart(L"C:\\a\\b.xml"),
              L"C:\\a|C:\\|x|b|C:\\a\\");
}

// What the window checks when it is dropped: told by the name in any case, or by the first bytes.
TEST(KindOfList, ByNameOrByTheFirstBytes) {
    using enum job::ListKind;
    const struct { const wchar_t* name; const char* head; job::ListKind kind; } cases[] = {
        {L"C:\\d\\SHA256SUMS", "", Sums}, {L"image.iso.sha256", "", Sums}, {L"Checksum", "", Sums}, {L"sha256sums.txt", "", None},
        {L"SHA384SUMS", "", Sums}, {L"B2SUMS", "", None}, {L"SHA224SUMS", "", None}, {L"x.", "", None},  // the tool's names, of the algorithms it has
        {L"notes.txt", "d41d8cd98f00b204e9800998ecf8427e  a.txt\nd41d8cd98f00b204e98", Sums},  // cut inside its second line
        {L"tag.txt", "SHA224 (a.txt) = d14a028c2a3a2bc9476102bb288234c415a2b01f828ea62ac5b3e42f", Sums},  // an algorithm the tool lacks
        {L"db.xml", "\xEF\xBB\xBF<?xml version=\"1.0\"?><FCIV>", Database}, {L"pom.xml", "<project>", None},
    };
    for (const auto& c : cases) EXPECT_EQ(job::KindOfList(c.name, c.head), c.kind) << c.name;
    // A saved report whose names are relative to the folder hashed: no drive, no server.
    const struct { const char* head; bool relative; } reports[] = {
        {"a.txt\r\nMD5:00", true}, {"sub\\a.txt\nSHA1:00", true}, {"\xEF\xBB\xBF" "C:\\d\\a.txt\r\nMD5:00", false},
        {"\\\\srv\\s\\a.txt\r\nMD5:00", false}, {"a.txt\r\n00", false}, {"b\nSHA256:00", true}, {"a.txt", false}, {"\r\nMD5:00", false},
    };
    for (const auto& r : reports) EXPECT_EQ(job::IsReportOfRelativeNames(r.head), r.relative) << r.head;
    // How the window has the tool check one, and where the verdicts of its first and second check at once go.
    EXPECT_EQ(job::CheckParameters(Database, L"C:\\d b\\x.xml", L"", L"v.txt") + L"|" + job::CheckParameters(Sums, L"s", L"C:\\d", L"v"),
              L"-v -xml \"C:\\d b\\x.xml\" -verdicts v.txt|-v -sums s C:\\d -verdicts v");
    EXPECT_EQ(job::VerdictsName(1) + L"|" + job::VerdictsName(2), L"dbcheck.txt|dbcheck (2).txt");
}

// The window's error boxes: each error's number with its words.
TEST(RuntimeError, EachNumberWithItsWords) {
    using namespace common::err;
    std::wstring shown;
    for (int n : {InvalidArgument, BadFileName, FileNotFound, DeviceIo, FileExists, DiskFull, DeviceUnavailable, PermissionDenied, PathFileAccess, PathNotFound})
        shown += std::to_wstring(n) + L" " + common::RuntimeError(n).Description() + L"\n";
    EXPECT_EQ(shown, L"5 Недопустимый вызов процедуры или аргумент\n52 Неверное имя или номер файла\n53 Файл не найден\n"
                     L"57 Ошибка ввода/вывода устройства\n58 Файл уже существует\n61 Диск заполнен\n68 Устройство недоступно\n"
                     L"70 Отказано в разрешении\n75 Ошибка доступа к пути/файлу\n76 Путь не найден\n");
}

}  // namespace
