#include "input_estimate.h"

#include "portable_math.h"

namespace correlatore {

std::optional<InputEstimate> estimateInput(double c, double pi) {
    const double angle = pi * c / 2.0;
    if (!(c > 0.0) || !(angle < truePi / 2.0))
        return std::nullopt;
    const double rho = portableSine(angle);
    // 1 - sin a = 2 sin^2(pi/4 - a/2): near rho = 1 the difference would lose the digits that
    // the Si/Ni depends on.
    const double half = portableSine((truePi / 2.0 - angle) / 2.0);
    const double complement = 2.0 * half * half;
    if (!(rho < 1.0) || !(complement > 0.0))
        return std::nullopt;
    return InputEstimate{rho, 10.0 * portableLog10(rho / complement)};
}

} // namespace correlatore
