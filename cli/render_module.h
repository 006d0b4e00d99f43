#pragma once

// The interface of the picture module, libcorrelatore-render.so. The command line loads it only
// for `render`, so that its data commands never pay for loading Qt.

#include "display_list.h"

#include <cstddef>

extern "C" {

using CorrelatoreSink = void (*)(const char* data, std::size_t size, void* context);

// Renders the display list as a PNG (format 0, at `scale`) or an SVG (format 1) and hands the
// file's bytes to `sink`. Returns 0 on success.
int correlatore_render_picture(const correlatore::DrawOp* ops, std::size_t count, int format,
                               int scale, CorrelatoreSink sink, void* context);
}

inline constexpr const char* renderModuleName = "libcorrelatore-render.so";
inline constexpr const char* renderModuleEntry = "correlatore_render_picture";
