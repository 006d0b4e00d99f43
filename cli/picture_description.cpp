#include "picture_description.h"

namespace correlatore {

namespace {

std::string curvesDrawn(const RenderCommand& command) {
    if (command.simulate && command.theory)
        return "Crsp = f(Si/Ni), Crt = f(Si/Ni)";
    if (command.simulate)
        return "Crsp = f(Si/Ni)";
    if (command.theory)
        return "Crt = f(Si/Ni)";
    return "none";
}

} // namespace

PictureDescription describePicture(const RenderCommand& command, std::uint64_t seed) {
    PictureDescription picture;
    picture.title = "C = f (Si/Ni)";
    const RunParameters& run = command.simulation.parameters;
    std::string drawn;
    if (command.simulate)
        drawn += "; blue circles: a simulation run Crsp = f(Si/Ni) with Beta = " +
                 std::to_string(run.beta) + ", Nm = " + std::to_string(run.nm) +
                 ", seed = " + std::to_string(seed);
    if (command.theory)
        drawn += "; red points: the theoretical curve Crt = f(Si/Ni)";
    picture.description = "Output correlation coefficient C against Si/Ni in dB" +
                          (drawn.empty() ? std::string("; no curve drawn") : drawn) + ".";
    picture.fields.emplace_back("Software", "correlatore-cli " CORRELATORE_VERSION);
    picture.fields.emplace_back("Curves", curvesDrawn(command));
    if (command.simulate) {
        picture.fields.emplace_back("Beta", std::to_string(run.beta));
        picture.fields.emplace_back("Nm", std::to_string(run.nm));
        picture.fields.emplace_back("Seed", std::to_string(seed));
    }
    return picture;
}

} // namespace correlatore
