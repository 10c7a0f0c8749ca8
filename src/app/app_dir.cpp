#include "app/app_dir.h"

namespace app {

std::wstring AppDirFrom(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

}  // namespace app
