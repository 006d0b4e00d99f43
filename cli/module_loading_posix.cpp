#include "module_loading.h"

#include <dlfcn.h>
#ifdef __APPLE__
#include <cstdint>
#include <mach-o/dyld.h>
#endif

namespace correlatore {

std::filesystem::path programFolder() {
#ifdef __APPLE__ // no /proc there
    char name[4096];
    std::uint32_t size = sizeof name;
    if (_NSGetExecutablePath(name, &size) != 0)
        return {};
    return std::filesystem::path(name).parent_path();
#else
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
#endif
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
