#pragma once

// The interface of the picture module, libcorrelatore-render.so: what to draw, in, and the
// picture file's bytes, out. Plain C++ without Qt, so that the command line can hand it a picture
// to make; it loads the module only for `render`, so that its data commands never pay for
// loading Qt.

#include "chart_text.h"
#include "display_list.h"
#include "picture_format.h"

#include <cstddef>

namespace correlatore {

// What part of the window a picture shows.
enum class PictureLayout {
    ChartWithLabels, // the chart with the labels that annotate it, cut from the window
    WholeWindow,     // the window's whole client area: title, legends, buttons, lists and formula
    BareChart,       // the chart's drawing alone
    Figure,          // a drawing of its own size, with no window around it (the residual chart)
};

// A text of the picture (see ChartText), as plain data.
struct PictureText {
    float x, y;
    ColorRef colour;
    TextAnchor anchor;
    const char* text;
};

// What to draw, and what the picture says about itself. Plain data: it crosses into a module
// loaded at run time.
struct PictureRequest {
    const DrawOp* ops;
    std::size_t count;
    PictureFormat format;
    int scale; // PNG: device pixels a window pixel
    PictureLayout layout;
    const char* combo1Text; // what the window's lists show
    const char* combo2Text;
    const char* title;
    const char* description;
    const char* const* fields; // key, value, key, value, ...
    std::size_t fieldCount;    // pairs
    const PictureText* texts;  // over the drawing: legends, numbers
    std::size_t textCount;
    int width, height; // a Figure's size in window pixels
};

// How the module ends: the file was handed over, or why not.
enum class PictureStatus { Made, NoWindow, CannotEncode };

using PictureSink = void (*)(const char* data, std::size_t size, void* context);

} // namespace correlatore

extern "C" {

// Makes the picture the request asks for and hands the file's bytes to `sink`. A build without
// the window makes only bare charts and figures.
correlatore::PictureStatus correlatore_render_picture(const correlatore::PictureRequest* request,
                                                      correlatore::PictureSink sink, void* context);
}

inline constexpr const char* renderModuleEntry = "correlatore_render_picture";
