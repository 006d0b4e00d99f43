#include "module_loading.h"

#include <dlfcn.h>

namespace correlatore {

std::filesystem::path programFolder() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
}

void* moduleEntry(const std::filesystem::path& path, const char* entry, std::string& error) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        error = dlerror();
        return nullptr;
    }
    void* address = dlsym(module, entry);
    if (!address)
        error = path.string() + ": no entry point";
    return address;
}

} // namespace correlatore
