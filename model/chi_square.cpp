#include "chi_square.h"

#include <boost/math/special_functions/gamma.hpp>

namespace correlatore {

namespace {

// Errors come back as values, never as exceptions (the web edition is built without them), and
// in double precision, as on every system alike.
using Quiet = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::errno_on_error>,
    boost::math::policies::pole_error<boost::math::policies::errno_on_error>,
    boost::math::policies::overflow_error<boost::math::policies::errno_on_error>,
    boost::math::policies::evaluation_error<boost::math::policies::errno_on_error>,
    boost::math::policies::promote_double<false>>;

} // namespace

double chiSquareUpperTail(double chiSquare, int degreesOfFreedom) {
    // The regularised upper incomplete gamma function Q(k/2, x/2).
    return boost::math::gamma_q(degreesOfFreedom / 2.0, chiSquare / 2.0, Quiet());
}

} // namespace correlatore
