// Wine's floor for hashing many small files: list a folder tree, then open,
// read and close every file on two threads; no hashing. bench/tool_bench.sh
// sets the tool's time against it.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

void List(const std::wstring& folder, std::vector<std::wstring>& files) {
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> folders;
    do {
        const std::wstring name = data.cFileName;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(folder + L"\\" + name);
        else if (name != L"." && name != L"..") folders.push_back(folder + L"\\" + name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (const auto& f : folders) List(f, files);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    std::vector<std::wstring> files;
    List(std::wstring(L"\\\\?\\") + argv[1], files);
    std::atomic<size_t> next{0};
    const auto work = [&] {
        std::vector<char> buffer(1 << 20);
        for (size_t i; (i = next++) < files.size();) {
            const HANDLE h = CreateFileW(files[i].c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
            DWORD got = 0;
            while (h != INVALID_HANDLE_VALUE && ReadFile(h, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got) {
            }
            CloseHandle(h);
        }
    };
    std::thread other(work);
    work();
    other.join();
    return 0;
}
