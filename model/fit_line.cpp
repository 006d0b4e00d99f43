#include "run_analysis.h"

#include <iomanip>
#include <locale>
#include <sstream>

namespace correlatore {

namespace {

// Four significant digits, trailing zeros kept ("0.1120"), with a point in any locale: the window
// runs under the user's, where printf would write a comma.
std::string fourDigits(double value) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::showpoint << std::setprecision(4) << value;
    return text.str();
}

std::string describe(const char* reference, const FitSummary& fit) {
    return std::string(reference) + " chi2/dof=" + fourDigits(fit.perDegreeOfFreedom) +
           " p=" + fourDigits(fit.pValue);
}

} // namespace

std::string fitLine(const RunAnalysis& analysis) {
    std::string line =
        "fit: " + describe("model", analysis.model) + "; " + describe("arcsine", analysis.arcsine);
    if (analysis.analogue)
        line += "; " + describe("analogue", *analysis.analogue) +
                "; efficiency=" + fourDigits(lowSignalEfficiency());
    if (analysis.pValueIsApproximate)
        line += " (p approximate below Beta " + std::to_string(approximatePValueBelowBeta) + ")";
    return line;
}

} // namespace correlatore
