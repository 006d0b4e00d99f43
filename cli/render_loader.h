#pragma once

#include "render_module.h"

#include <string>

namespace correlatore {

// Finds and loads the picture module beside the program (build tree) or in its library folder
// (installed). Throws std::runtime_error with the places looked in when it cannot.
decltype(&correlatore_render_picture) loadRenderModule();

} // namespace correlatore
