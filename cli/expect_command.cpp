#include "expect_command.h"

#include "analogue_expectation.h"
#include "expectation.h"
#include "step_constants.h"
#include "table_output.h"

#include <string>
#include <vector>

namespace correlatore {

void writeExpectation(const ExpectCommand& command) {
    OutputFile output(command.out);
    std::vector<std::string> header{"s", "c_model", "sd", "c_arcsine", "crt"};
    if (command.analogue)
        header.insert(header.end(), {"r_model", "r_sd", "eta"});
    const auto table = openTable(output, command.out, "expect", std::move(header));
    const ExpectedCurves curves = expectedCurves(command.parameters);
    const AnalogueCurves analogue =
        command.analogue ? analogueCurves(command.parameters) : AnalogueCurves{};
    for (std::size_t i = 0; i < curves.model.size(); ++i) {
        std::vector<Cell> row{siNiOfStep(static_cast<int>(i)), curves.model[i].c,
                              curves.model[i].sd, curves.arcsine[i].c, stepTheory[i]};
        if (command.analogue)
            row.insert(row.end(),
                       {analogue.expected[i].r, analogue.expected[i].sd, analogue.efficiency[i]});
        table->addRow(row);
    }
    std::vector<Detail> details = programDetails(command.parameters);
    if (command.analogue)
        details.push_back({"efficiency at low Si/Ni", lowSignalEfficiency()});
    table->finish(details);
    output.commit();
}

} // namespace correlatore
