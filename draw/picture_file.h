#pragma once

#include "display_list.h"

#include <QByteArray>
#include <optional>

namespace correlatore {

enum class PictureFormat { Png, Svg };

// The chart's area: up to the end of the horizontal axis (x = 9360) and the bottom grid row.
inline constexpr int chartPixelWidth = 625;
inline constexpr int chartPixelHeight = 427;

// The chart as a picture file's bytes, drawn by the window's renderer on the window's background:
// a PNG at `scale` device pixels a window pixel, or an SVG with one element per drawing operation.
// Empty when Qt fails to encode it.
std::optional<QByteArray> chartPicture(const DisplayList& ops, PictureFormat format, int scale);

} // namespace correlatore
