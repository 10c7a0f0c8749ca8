#include <gtest/gtest.h>

#include "app/app_dir.h"
#include "navigation/trim_path.h"

namespace {

TEST(TrimToLastFolder, CutsBackToTheParentFolder) {
    const struct {
        const wchar_t* path;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\Windows\\System32", L"C:\\Windows\\"},
        {L"C:\\Windows\\", L"C:\\"},
        {L"C:\\a", L"C:\\"},
        {L"C:\\", L"C:\\"},
        {L"\\\\server\\share\\docs", L"\\\\server\\share\\"},
        {L"\\a", L"\\"},
        {L"a\\", L"a\\"},
        {L"docs", L"docs"},
        {L"C:/Temp/x", L"C:/Temp/x"},
        {L"", L""},
        {L"\\", L"\\"},
        {L"C:\\Temp\\Missing\\Deeper", L"C:\\Temp\\Missing\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(navigation::TrimToLastFolder(c.path), c.expected) << c.path;
}

TEST(CleanTypedPath, DropsBlanksAndOnePairOfQuotes) {
    const struct {
        const wchar_t *typed, *clean;
    } cases[] = {
        {L"  C:\\a b\\c  ", L"C:\\a b\\c"}, {L"\"C:\\a b\\c\"", L"C:\\a b\\c"}, {L" \" C:\\x \" ", L"C:\\x"},
        {L"\"\"C:\\x\"\"", L"\"C:\\x\""}, {L"\"C:\\x", L"\"C:\\x"}, {L"\"", L"\""}, {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(navigation::CleanTypedPath(c.typed), c.clean) << c.typed;
}

TEST(TrimToLastFolder, ThreeTrimsWalkUpThreeLevels) {
    std::wstring path = L"C:\\Temp\\Missing\\Deeper";
    for (const wchar_t* expected : {L"C:\\Temp\\Missing\\", L"C:\\Temp\\", L"C:\\"}) {
        path = navigation::TrimToLastFolder(path);
        EXPECT_EQ(path, expected);
    }
}

TEST(AppDir, EndsInExactlyOneBackslash) {
    EXPECT_EQ(app::AppDirFrom(L"D:\\Tools"), L"D:\\Tools\\");
    EXPECT_EQ(app::AppDirFrom(L"D:\\"), L"D:\\");
    EXPECT_EQ(app::AppDirFrom(L"C:\\Program Files\\Tallymere"), L"C:\\Program Files\\Tallymere\\");
}

}  // namespace
