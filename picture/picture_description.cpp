#include "picture_description.h"

namespace correlatore {

namespace {

std::string curvesDrawn(const PictureContent& content) {
    if (content.residuals)
        return "z = f(Si/Ni)";
    std::string curves;
    const auto add = [&curves](const char* curve) {
        curves += (curves.empty() ? "" : ", ") + std::string(curve);
    };
    if (content.band)
        add("E[C] +- 2 sd");
    if (content.analogue)
        add("r = f(Si/Ni), E[r]");
    if (content.run)
        add("Crsp = f(Si/Ni)");
    if (content.theory)
        add("Crt = f(Si/Ni)");
    return curves.empty() ? "none" : curves;
}

std::string runDescription(const PictureContent& content) {
    const RunParameters& run = content.parameters;
    return "a simulation run Crsp = f(Si/Ni) with Beta = " + std::to_string(run.beta) +
           ", Nm = " + std::to_string(run.nm) + ", seed = " + std::to_string(content.seed);
}

} // namespace

PictureDescription describePicture(const PictureContent& content) {
    PictureDescription picture;
    const RunParameters& run = content.parameters;
    if (content.residuals) {
        picture.title = "z = f (Si/Ni)";
        picture.description = "Residuals z = (c - E[C]) / sd[C] against Si/Ni in dB of " +
                              runDescription(content) + ", against the five-uniform model; " +
                              content.fit + ".";
    } else {
        picture.title = "C = f (Si/Ni)";
        std::string drawn;
        if (content.band)
            drawn += "; green band: the five-uniform model's expected C +- 2 sd for Beta = " +
                     std::to_string(run.beta) + ", Nm = " + std::to_string(run.nm);
        if (content.analogue)
            drawn += "; orange crosses and curve: the analogue correlator's estimates r from the "
                     "same samples, and their expectation rho = A^2 / (A^2 + 1) as settled";
        if (content.run)
            drawn += "; blue circles: " + runDescription(content);
        if (content.theory)
            drawn += "; red points: the theoretical curve Crt = f(Si/Ni)";
        picture.description = "Output correlation coefficient C against Si/Ni in dB" +
                              (drawn.empty() ? std::string("; no curve drawn") : drawn) + ".";
    }
    picture.fields.emplace_back("Software", content.program);
    picture.fields.emplace_back("Curves", curvesDrawn(content));
    if (content.run || content.band || content.residuals) {
        picture.fields.emplace_back("Beta", std::to_string(run.beta));
        picture.fields.emplace_back("Nm", std::to_string(run.nm));
    }
    if (content.run || content.residuals)
        picture.fields.emplace_back("Seed", std::to_string(content.seed));
    if (content.residuals)
        picture.fields.emplace_back("Fit", content.fit);
    return picture;
}

} // namespace correlatore
