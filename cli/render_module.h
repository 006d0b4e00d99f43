#pragma once

// The interface of the picture module, libcorrelatore-render.so. The command line loads it only
// for `render`, so that its data commands never pay for loading Qt.

#include "display_list.h"

#include <cstddef>

extern "C" {

using CorrelatoreSink = void (*)(const char* data, std::size_t size, void* context);

enum CorrelatorePictureLayout {
    correlatoreChartWithLabels = 0, // the chart and its labels, cut from the window
    correlatoreWholeWindow = 1,     // the window's whole client area
    correlatoreBareChart = 2,       // the chart's drawing alone
};

// What to draw, and what the picture says about itself.
struct CorrelatorePictureRequest {
    const correlatore::DrawOp* ops;
    std::size_t count;
    int format;             // 0 PNG, 1 SVG
    int scale;              // PNG: device pixels a window pixel
    int layout;             // a CorrelatorePictureLayout
    const char* combo1Text; // what the window's lists show
    const char* combo2Text;
    const char* title;
    const char* description;
    const char* const* fields; // key, value, key, value, ...
    std::size_t fieldCount;    // pairs
};

// A build without the window draws only the bare chart.
inline constexpr int correlatoreNoWindow = 2;

// Renders the request as a PNG or SVG file and hands the file's bytes to `sink`. Returns 0 on
// success, correlatoreNoWindow for a picture of the window from a build without it, 1 when Qt
// cannot encode the picture.
int correlatore_render_picture(const CorrelatorePictureRequest* request, CorrelatoreSink sink,
                               void* context);
}

inline constexpr const char* renderModuleEntry = "correlatore_render_picture";
