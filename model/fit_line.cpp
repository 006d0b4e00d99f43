#include "run_analysis.h"

#include <iomanip>
#include <locale>
#include <sstream>

namespace correlatore {

// With a point in any locale: the window runs under the user's, where printf would write a comma.
std::string fourSignificantDigits(double value) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::showpoint << std::setprecision(4) << value;
    return text.str();
}

namespace {

std::string describe(const char* reference, const FitSummary& fit) {
    return std::string(reference) + " chi2/dof=" + fourSignificantDigits(fit.perDegreeOfFreedom) +
           " p=" + fourSignificantDigits(fit.pValue);
}

} // namespace

std::string fitLine(const RunAnalysis& analysis) {
    std::string line =
        "fit: " + describe("model", analysis.model) + "; " + describe("arcsine", analysis.arcsine);
    if (analysis.analogue)
        line += "; " + describe("analogue", *analysis.analogue) +
                "; efficiency=" + fourSignificantDigits(lowSignalEfficiency());
    if (analysis.pValueIsApproximate)
        line += " (p approximate below Beta " + std::to_string(approximatePValueBelowBeta) + ")";
    return line;
}

} // namespace correlatore
