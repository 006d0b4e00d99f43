// The form's logic without a window, as both the desktop and the page drive it. Guards against:
// circles drawn in the order steps arrive rather than step order, a step drawn twice, a run that
// ends before its last circle; clicks during a run lost, reordered or given the lists' later
// texts; a form that keeps taking clicks or steps after a run-time error; a repaint asked for
// every dot, or forever from inside the paint; a chart description that lags what is drawn;
// a context menu that offers a run before there is one, a picture of a run half drawn, or a
// run's data other than the command line's bytes.

#include "analogue_comparison.h"
#include "chart_frame.h"
#include "chart_menu.h"
#include "form_controller.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace correlatore;

namespace {

// Records what the form asks of it; a run starts nothing, the test delivers its steps.
struct FakePlatform : FormPlatform {
    ListTexts lists = initialListTexts();
    std::vector<SimulationOptions> started;
    int ended = 0;
    std::vector<RunTimeError> reported;
    int repaints = 0;
    std::vector<std::string> descriptions;
    bool threadsLeft = true;

    ListTexts listTexts() const override { return lists; }
    void setTitleCaption(const std::string&) override {}
    void startRun(const SimulationOptions& run) override {
        if (!threadsLeft)
            throw RunTimeError(error_code::outOfMemory, "Memoria esaurita");
        started.push_back(run);
    }
    void endRun() override { ++ended; }
    void reportRunTimeError(const RunTimeError& error) override { reported.push_back(error); }
    void requestRepaint() override { ++repaints; }
    void setChartDescription(const std::string& text) override { descriptions.push_back(text); }
};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.setFixedSeed(7);
        form.paint();
    }

    // Delivers the run's steps in the order given, each with p = 0.5 + index / 1000.
    void deliver(const std::vector<int>& order) {
        for (const int index : order)
            form.stepDone({index, siNiOfStep(index), 0.5 + index / 1000.0});
    }

    void finishRun() {
        std::vector<int> all;
        for (int i = 0; i < simulationStepCount; ++i)
            all.push_back(i);
        deliver(all);
    }

    std::size_t afterFrame() const { return form.surface().ops().size() - frameOpCount; }

    FakePlatform platform;
    FormController form{platform};
};

volatile double zero = 0.0;
double failsFromZero(double s) {
    return s >= 0 ? zero / zero : theoreticalCorrelation(s);
}

} // namespace

TEST_F(FormTest, StepsArrivingOutOfOrderAreDrawnInStepOrderOnce) {
    form.click(Button::Command2);
    ASSERT_EQ(platform.started.size(), 1u);
    deliver({1, 2, 2, -1, 241}); // step 0 not yet in; repeats and strangers are dropped
    EXPECT_EQ(afterFrame(), 0u);
    deliver({0});
    EXPECT_EQ(afterFrame(), 3u);
    finishRun();
    EXPECT_FALSE(form.isRunning());
    EXPECT_EQ(platform.ended, 1);
    ASSERT_EQ(afterFrame(), 241u);
    for (int i = 0; i < simulationStepCount; ++i) {
        const DrawOp& circle = form.surface().ops()[frameOpCount + static_cast<std::size_t>(i)];
        ASSERT_EQ(circle.x1, static_cast<float>(9200.0 * (0.5 * i) / 120.0)) << i;
    }
    ASSERT_TRUE(form.lastRun());
    EXPECT_EQ(form.lastRun()->seed, 7u);
    EXPECT_EQ(form.lastRun()->p[240], 0.5 + 240 / 1000.0);
}

TEST_F(FormTest, ClicksDuringARunWaitAndUseTheListsOfTheirMoment) {
    form.click(Button::Command2);
    platform.lists = {"400", "20000"};
    form.click(Button::Command2); // another run: the clicks after it wait for its end too
    platform.lists = {"6400", "200000"};
    form.click(Button::Command1);
    EXPECT_EQ(form.waitingClicks(), 2u);
    finishRun();
    ASSERT_EQ(platform.started.size(), 2u);
    EXPECT_EQ(platform.started[1].parameters, (RunParameters{400, 20000}));
    EXPECT_EQ(form.Beta(), 400);
    EXPECT_EQ(form.waitingClicks(), 1u);
    finishRun();
    EXPECT_EQ(afterFrame(), 241u + 1200u); // the theory drawn over the second run's circles
    EXPECT_EQ(form.finishedRuns(), 2);
}

TEST(Form, ARunTimeErrorEndsTheProcedureAndTheFormTakesNoMore) {
    const struct {
        const char* name;
        void (*fault)(FormController&, FakePlatform&);
        std::size_t circlesLeft;
    } cases[] = {
        {"a floating-point fault in the theory",
         [](FormController& f, FakePlatform&) {
             f.setCorrelationFormula(failsFromZero);
             f.click(Button::Command1);
         },
         600},
        {"no thread for the run",
         [](FormController& f, FakePlatform& p) {
             p.threadsLeft = false;
             f.click(Button::Command2);
         },
         0},
        {"a failure inside the run",
         [](FormController& f, FakePlatform&) {
             f.click(Button::Command2);
             f.stepDone({0, -60.0, 0.5});
             f.runTimeError(RunTimeError(error_code::outOfMemory, "Memoria esaurita"));
         },
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakePlatform platform;
        FormController form(platform);
        form.paint();
        c.fault(form, platform);
        ASSERT_EQ(platform.reported.size(), 1u);
        EXPECT_TRUE(form.hasFailed());
        EXPECT_FALSE(form.isRunning());
        EXPECT_EQ(platform.ended, static_cast<int>(platform.started.size()));
        const std::size_t drawn = form.surface().ops().size();
        EXPECT_EQ(drawn - frameOpCount, c.circlesLeft);
        form.click(Button::Command3);
        form.stepDone({1, -59.5, 0.5});
        form.runTimeError(RunTimeError(error_code::overflow, "Overflow"));
        EXPECT_EQ(form.surface().ops().size(), drawn);
        EXPECT_EQ(platform.reported.size(), 1u) << "reported once";
    }
}

TEST_F(FormTest, RepaintsAreAskedOncePerProcedureAndNeverByAPaintThatDrawsNothing) {
    const int afterFirstPaint = platform.repaints;
    EXPECT_EQ(afterFirstPaint, 1); // the frame, drawn at the first paint
    form.paint();
    EXPECT_EQ(platform.repaints, afterFirstPaint);
    form.click(Button::Command1); // 1200 points
    EXPECT_EQ(platform.repaints, afterFirstPaint + 1);
    form.showDrawing(form.surface().ops());
    EXPECT_EQ(afterFrame(), 1200u);
}

TEST_F(FormTest, TheChartDescriptionFollowsWhatIsDrawnAndIsToldOncePerChange) {
    const std::string frame = "Assi: Si/Ni da -60 a +60 dB in orizzontale, griglia ogni 6 dB; C "
                              "da -1 a +1 in verticale, griglia ogni 0,1, asse orizzontale a C = "
                              "0. ";
    const std::string theory = "Funzione calcolata: 1200 punti rossi; C vale 0,00 a -60 dB, 0,33 a "
                               "0 dB e 1,00 a +60 dB.";
    // Step 0 under P = 0.5, so that the first circle's C is negative.
    const std::string run = "Funzione sperimentale: Beta 800, Nm 20000, seme 7; 241 cerchi blu; C "
                            "vale -0,02 a -60 dB, 0,24 a 0 dB e 0,48 a +60 dB.";
    const struct {
        const char* step;
        void (*act)(FormController&, FakePlatform&);
        std::string description;
    } rows[] = {
        {"Crt", [](FormController& f, FakePlatform&) { f.click(Button::Command1); },
         frame + theory},
        {"Crsp starts",
         [](FormController& f, FakePlatform& p) {
             p.lists = {"800", "20000"};
             f.click(Button::Command2);
         },
         frame + "Funzione sperimentale in corso: Beta 800, Nm 20000, seme 7."},
        {"its last circle",
         [](FormController& f, FakePlatform&) {
             f.stepDone({0, -60.0, 0.49});
             for (int i = 1; i < simulationStepCount; ++i)
                 f.stepDone({i, siNiOfStep(i), 0.5 + i / 1000.0});
         },
         frame + run},
        {"Crt over the circles",
         [](FormController& f, FakePlatform&) { f.click(Button::Command1); },
         frame + theory + " " + run},
        {"Reset", [](FormController& f, FakePlatform&) { f.click(Button::Command3); },
         frame + "Nessuna curva."},
    };
    EXPECT_EQ(platform.descriptions, std::vector<std::string>{frame + "Nessuna curva."});
    for (const auto& row : rows) {
        SCOPED_TRACE(row.step);
        const std::size_t told = platform.descriptions.size();
        row.act(form, platform);
        EXPECT_EQ(form.chartDescription(), row.description);
        ASSERT_EQ(platform.descriptions.size(), told + 1); // once, not once per circle
        EXPECT_EQ(platform.descriptions.back(), row.description);
    }
    form.paint(); // a repaint changes nothing, and tells nothing
    EXPECT_EQ(platform.descriptions.size(), 1 + std::size(rows));
}

// ---- The chart's context menu

namespace {

// Which entries are enabled, in the menu's order: "1" for enabled, "0" for disabled.
std::string enabledEntries(const FormController& form) {
    std::string enabled;
    for (const ChartMenuEntry& entry : chartMenu(form))
        enabled += entry.enabled ? '1' : '0';
    return enabled;
}

} // namespace

TEST_F(FormTest, TheMenuOffersARunOnlyOnceOneHasFinishedAndNoPictureOfOneHalfDrawn) {
    const auto entries = chartMenu(form);
    EXPECT_STREQ(entries[0].text, "Copia immagine");
    EXPECT_STREQ(entries[1].text, "Salva immagine\u2026");
    EXPECT_STREQ(entries[2].text, "Salva dati\u2026");
    EXPECT_STREQ(entries[3].text, "Analisi della prova\u2026");
    EXPECT_EQ(enabledEntries(form), "1100") << "before the first run";
    form.click(Button::Command2);
    EXPECT_EQ(enabledEntries(form), "0000") << "during the first run";
    finishRun();
    EXPECT_EQ(enabledEntries(form), "1111") << "after it";
    EXPECT_TRUE(shownContent(form, "p").run);
    form.click(Button::Command2);
    EXPECT_EQ(enabledEntries(form), "0011") << "during the next: the data of the last";
    EXPECT_FALSE(shownContent(form, "p").run);
    form.runTimeError(RunTimeError(error_code::outOfMemory, "Memoria esaurita"));
    EXPECT_EQ(enabledEntries(form), "0000") << "after a run-time error";
}

TEST(FormMenu, SavedDataAreTheCommandLinesBytesForTheSameSeed) {
    // A platform that runs each run at once, as the window's thread would.
    struct RunningPlatform : FakePlatform {
        FormController* form = nullptr;
        void startRun(const SimulationOptions& run) override {
            FakePlatform::startRun(run);
            simulate(run, [this](const StepResult& step) { pending.push_back(step); });
        }
        std::vector<StepResult> pending;
    } platform;
    platform.lists = {"800", "20000"};
    FormController form(platform);
    form.setFixedSeed(2026);
    form.paint();
    form.click(Button::Command2);
    for (const StepResult& step : platform.pending)
        form.stepDone(step);
    ASSERT_TRUE(form.lastRun());
    // The command line's output for --seed 2026 --beta 800, checked in.
    std::ifstream file(CORRELATORE_REFERENCE_DIR "/simulate_seed_2026_with_fit.csv",
                       std::ios::binary);
    std::ostringstream reference;
    reference << file.rdbuf();
    ASSERT_FALSE(reference.str().empty());
    EXPECT_EQ(runCsv(*form.lastRun()), reference.str());
    EXPECT_EQ(runFileStem(*form.lastRun()), "correlatore-seme-2026");
    // For a spreadsheet that writes decimals with a comma: the same numbers, ";" between them.
    const std::string comma = runCsv(*form.lastRun(), decimalCommaCsv);
    std::string back = comma;
    std::replace(back.begin(), back.end(), ',', '.');
    std::replace(back.begin(), back.end(), ';', ',');
    EXPECT_EQ(back, reference.str());
}

TEST(FormMenu, TheAnalogueComparisonRunsTheSameRunAgainWithTheSameCircles) {
    FinishedRun run{{800, 20000}, 2026, {}};
    SimulationOptions clipped;
    clipped.parameters = run.parameters;
    clipped.seed = run.seed;
    simulate(clipped,
             [&](const StepResult& step) { run.p[static_cast<std::size_t>(step.index)] = step.p; });
    const SimulationOptions options = analogueRerunOptions(run);
    EXPECT_TRUE(options.analogue);
    const AnalogueComparison comparison = compareWithAnalogue(run);
    EXPECT_EQ(comparison.run.seed, 2026u);
    EXPECT_EQ(comparison.run.parameters, run.parameters);
    EXPECT_EQ(comparison.run.p, run.p);
    // `correlatore-cli simulate --seed 2026 --beta 800 --analogue`, its r at -60 dB, checked in.
    EXPECT_EQ(comparison.r[0], 0.03760769084943912);
    EXPECT_NE(comparison.numbers.find("efficienza per Si/Ni basso 0,5979"), std::string::npos)
        << comparison.numbers;
}
