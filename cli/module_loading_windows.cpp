#include "module_loading.h"

#define WIN32_LEAN_AND_MEAN
#include <system_error>
#include <windows.h>

namespace correlatore {

std::filesystem::path programFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2); // a long path: try again with room for it
    }
}

void* moduleEntry(const std::filesystem::path& path, const char* entry, std::string& error) {
    // Only the module's own folder and the system's are searched for the DLLs it needs.
    const HMODULE module = LoadLibraryExW(
        path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (!module) {
        error =
            path.string() + ": " + std::system_category().message(static_cast<int>(GetLastError()));
        return nullptr;
    }
    void* address = reinterpret_cast<void*>(GetProcAddress(module, entry));
    if (!address)
        error = path.string() + ": no entry point";
    return address;
}

} // namespace correlatore
