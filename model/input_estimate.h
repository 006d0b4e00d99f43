#pragma once

#include <numbers>
#include <optional>

namespace correlatore {

inline constexpr double truePi = std::numbers::pi;

// What a clipped correlation c says about the inputs, by Van Vleck's inversion of the arcsine
// law: the input correlation rho = sin(pi c / 2), and the Si/Ni that gives it,
// 10 log10(rho / (1 - rho)) dB.
struct InputEstimate {
    double rho;
    double snrDb;
};

// None where c <= 0 or rho >= 1, which no finite Si/Ni gives. `pi` is the constant of the law
// inverted: the true one, or 3.14 to undo the classic curve. For the simulation's five-uniform
// inputs the inversion is biased (about -0.27 dB at low Si/Ni, +0.23 dB at high), because their
// clipped correlation does not follow the arcsine law exactly. The same bits on every system.
std::optional<InputEstimate> estimateInput(double c, double pi = truePi);

} // namespace correlatore
