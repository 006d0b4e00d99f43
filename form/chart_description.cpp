#include "chart_description.h"

#include "theory.h"

#include <cmath>
#include <cstdlib>

namespace correlatore {

namespace {

// Two decimals with a decimal comma, as an Italian reader says them, whatever the C locale.
std::string italianDecimal(double value) {
    const long hundredths = std::lround(value * 100.0);
    const long whole = std::labs(hundredths) / 100;
    const long fraction = std::labs(hundredths) % 100;
    return std::string(hundredths < 0 ? "-" : "") + std::to_string(whole) + "," +
           (fraction < 10 ? "0" : "") + std::to_string(fraction);
}

// The coefficient at the two ends of the Si/Ni axis and at its middle, where the axes cross.
std::string coefficientsAlongTheAxis(double atMinus60, double at0, double atPlus60) {
    return "C vale " + italianDecimal(atMinus60) + " a -60 dB, " + italianDecimal(at0) +
           " a 0 dB e " + italianDecimal(atPlus60) + " a +60 dB.";
}

// The simulated coefficient of one step: 2P - 1, where the step's circle stands.
double simulatedCoefficient(const std::array<double, simulationStepCount>& p, int step) {
    return 2.0 * p[static_cast<std::size_t>(step)] - 1.0;
}

} // namespace

std::string chartAccessibleName() {
    return "Grafico C = f (Si/Ni)";
}

std::string describeChart(const ChartContents& contents) {
    std::string text;
    if (contents.frame)
        text += "Assi: Si/Ni da -60 a +60 dB in orizzontale, griglia ogni 6 dB; "
                "C da -1 a +1 in verticale, griglia ogni 0,1, asse orizzontale a C = 0. ";
    if (contents.theoreticalCurve)
        text += "Funzione calcolata: 1200 punti rossi; " +
                coefficientsAlongTheAxis(theoreticalCorrelation(-60.0), theoreticalCorrelation(0.0),
                                         theoreticalCorrelation(60.0)) +
                " ";
    if (contents.run) {
        const ShownRun& run = *contents.run;
        text += std::string("Funzione sperimentale") + (run.p ? "" : " in corso") + ": Beta " +
                std::to_string(run.parameters.beta) + ", Nm " + std::to_string(run.parameters.nm) +
                ", seme " + std::to_string(run.seed);
        if (run.p) {
            const int last = simulationStepCount - 1;
            text += "; " + std::to_string(simulationStepCount) + " cerchi blu; " +
                    coefficientsAlongTheAxis(simulatedCoefficient(*run.p, 0),
                                             simulatedCoefficient(*run.p, last / 2),
                                             simulatedCoefficient(*run.p, last));
        } else {
            text += ".";
        }
        text += " ";
    }
    if (!contents.theoreticalCurve && !contents.run)
        text += "Nessuna curva.";
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace correlatore
