// Memory over many runs: a window whose resident memory grows run after run (a display list or a
// run's buffers kept).

#include "window_fixture.h"

#include <QComboBox>
#include <fstream>

using namespace correlatore;

namespace {

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

} // namespace

#if defined(__SANITIZE_ADDRESS__)
constexpr bool underAddressSanitizer = true; // its quarantine holds on to freed memory
#else
constexpr bool underAddressSanitizer = false;
#endif

TEST_F(WindowTest, TwentyLongRunsKeepMemoryFlat) {
    if (underAddressSanitizer)
        GTEST_SKIP() << "resident memory means nothing under AddressSanitizer";
    control<QComboBox>("Combo2")->setEditText("200000");
    long afterSecond = 0;
    for (int run = 1; run <= 20; ++run) {
        press("Command2");
        waitForRunEnd();
        ASSERT_EQ(count(DrawOp::Kind::Circle), 241u);
        if (run == 2)
            afterSecond = residentKilobytes();
    }
    EXPECT_LT(residentKilobytes() - afterSecond, 2048) << "kB grown over 18 runs";
}
