#pragma once

// Where the chart puts things, in chart space: twips (1/1440 inch), origin at the top-left of the
// window's client area, y downwards. Each mapping keeps the classic arithmetic and order, and hands
// its result over in single precision, as the drawing operations take it.

namespace correlatore::chart {

// x of an Si/Ni value s in dB: 9200 times (s + 60), then divided by 120.
inline float xOfSiNi(double s) {
    const double u = s + 60.0;
    return static_cast<float>(9200.0 * u / 120.0);
}

// y of a correlation coefficient C: 3200 - 3200 * C.
inline float yOfCoefficient(double c) {
    return static_cast<float>(3200.0 - 3200.0 * c);
}

// y of a coincidence estimate P, whose coefficient is 2P - 1: 3200 - 6400 * (P - 0.5).
inline float yOfCoincidence(double p) {
    return static_cast<float>(3200.0 - 6400.0 * (p - 0.5));
}

} // namespace correlatore::chart
