#include "render_loader.h"

#include "module_loading.h"

#include <stdexcept>
#include <vector>

namespace correlatore {

decltype(&correlatore_render_picture) loadRenderModule() {
    if (!CORRELATORE_RENDER_MODULE_BUILT)
        throw std::runtime_error("render is not available: this correlatore-cli was built without "
                                 "the picture module (it needs Qt 6); theory and simulate work");
    const std::filesystem::path programDir = programFolder();
    const std::vector<std::filesystem::path> places{
        programDir / CORRELATORE_RENDER_MODULE_FILE,
        programDir / CORRELATORE_RENDER_MODULE_FROM_BINDIR / CORRELATORE_RENDER_MODULE_FILE};
    std::string tried;
    for (const std::filesystem::path& place : places) {
        std::string error;
        if (void* entry = moduleEntry(place, renderModuleEntry, error))
            return reinterpret_cast<decltype(&correlatore_render_picture)>(entry);
        tried += (tried.empty() ? "" : "; ") + error;
    }
    throw std::runtime_error("cannot load the picture module (" + tried + ")");
}

} // namespace correlatore
