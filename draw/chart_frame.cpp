#include "chart_frame.h"

namespace correlatore {

void drawChartFrame(DrawingSurface& surface) {
    // Whole-number loops: the body runs for every start + k * step that does not pass the end.
    for (int x = 0; x <= 9200; x += 460)
        for (int y = 0; y <= 6400; y += 40)
            surface.PSet(0, static_cast<float>(x), static_cast<float>(y), 0);
    for (int y = 0; y <= 6400; y += 320)
        for (int x = 0; x <= 9200; x += 60)
            surface.PSet(0, static_cast<float>(x), static_cast<float>(y), 0);
    surface.Line(4, 0.0f, 3200.0f, 9360.0f, 3200.0f, black);
    surface.Line(4, 4600.0f, 0.0f, 4600.0f, 6400.0f, black);
}

} // namespace correlatore
