#include "expect_command.h"

#include "expectation.h"
#include "run_table_rows.h"
#include "step_constants.h"
#include "table_output.h"

namespace correlatore {

void writeExpectation(const ExpectCommand& command) {
    OutputFile output(command.out);
    const auto table =
        openTable(output, command.out, "expect", {"s", "c_model", "sd", "c_arcsine", "crt"});
    const ExpectedCurves curves = expectedCurves(command.parameters);
    for (std::size_t i = 0; i < curves.model.size(); ++i)
        table->addRow({siNiOfStep(static_cast<int>(i)), curves.model[i].c, curves.model[i].sd,
                       curves.arcsine[i].c, stepTheory[i]});
    table->finish(programDetails(commandLineProgram, command.parameters));
    output.commit();
}

} // namespace correlatore
