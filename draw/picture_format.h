#pragma once

namespace correlatore {

// The kinds of picture file: a PNG of the window's pixels, or an SVG of its shapes.
enum class PictureFormat { Png, Svg };

} // namespace correlatore
