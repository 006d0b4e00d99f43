#include "render_loader.h"

#include <dlfcn.h>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace correlatore {

decltype(&correlatore_render_picture) loadRenderModule() {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path programDir = fs::read_symlink("/proc/self/exe", error).parent_path();
    const std::vector<fs::path> places{programDir / renderModuleName,
                                       programDir / CORRELATORE_RENDER_MODULE_FROM_BINDIR /
                                           renderModuleName};
    std::string tried;
    for (const fs::path& place : places) {
        if (void* module = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            if (void* entry = dlsym(module, renderModuleEntry))
                return reinterpret_cast<decltype(&correlatore_render_picture)>(entry);
            tried += (tried.empty() ? "" : "; ") + place.string() + ": no entry point";
            continue;
        }
        tried += (tried.empty() ? "" : "; ") + std::string(dlerror());
    }
    throw std::runtime_error("cannot load the picture module (" + tried + ")");
}

} // namespace correlatore
