#include "job/process_search.h"

#include <algorithm>
#include <cwctype>

#include "platform/processes.h"

namespace job {

namespace {
bool ImageNameContains(std::wstring image, const std::wstring& name) {
    image.erase(0, image.find_first_not_of(L' '));
    image.erase(image.find_last_not_of(L' ') + 1);
    const auto same = [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); };
    return std::search(image.begin(), image.end(), name.begin(), name.end(), same) != image.end();
}
}  // namespace

uint8_t IsProcessRunning(const std::wstring& name) {
    platform::ProcessSnapshot snapshot;
    std::wstring image;
    while (snapshot.Next(image))
        if (ImageNameContains(image, name)) return 1;
    return 0;
}

}  // namespace job
