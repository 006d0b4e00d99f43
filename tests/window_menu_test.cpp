// The chart's context menu on the window. Guards against: a menu that changes what the window
// shows, opens off the chart or not from the keyboard, or offers a run's data before a run; saved
// data other than the run's, a workbook whose numbers a spreadsheet cannot read under a locale
// that writes decimals with a comma; an analysis window whose numbers are not the run's fit.
// What the files hold against the command line's is form_test's and picture_test's.

#include "analogue_comparison.h"
#include "analysis_window.h"
#include "chart_context_menu.h"
#include "residual_chart.h"
#include "scratch_folder.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <clocale>
#include <iostream>
#if CORRELATORE_READS_WORKBOOKS
#include <unzip.h>
#endif

using namespace correlatore;

namespace {

// "1" for each enabled entry of the menu that shows, "0" for each disabled one; "" when none shows.
std::string shownMenu() {
    const auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || !menu->isVisible())
        return {};
    std::string enabled;
    for (const QAction* action : menu->actions())
        enabled += action->isEnabled() ? '1' : '0';
    return enabled;
}

void closeMenus() {
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

// A right click (or the Menu key, with `keyboard`) at `where` in the window.
void askForMenu(QWidget& window, QPoint where, bool keyboard = false) {
    QContextMenuEvent request(keyboard ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse,
                              where, window.mapToGlobal(where));
    QApplication::sendEvent(&window, &request);
}

} // namespace

TEST_F(WindowTest, TheChartMenuOpensOnTheChartAndChangesNothingShown) {
    const QImage before = grabbed(form);
    ChartContextMenu menu(form);
    EXPECT_TRUE(grabbed(form) == before) << "the window changed with the menu attached";

    askForMenu(form, QPoint(px(11520), px(8880))); // below the buttons, off the chart
    EXPECT_EQ(shownMenu(), "");
    askForMenu(form, QPoint(100, 100));
    EXPECT_EQ(shownMenu(), "1100") << "a right click before any run";
    closeMenus();
    askForMenu(form, QPoint(), true);
    EXPECT_EQ(shownMenu(), "1100") << "the Menu key";
    closeMenus();
    control<QPushButton>("Command1")->setFocus();
    QTest::keyClick(control<QPushButton>("Command1"), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(shownMenu(), "1100") << "Shift+F10 on a button";
    closeMenus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(grabbed(form) == before) << "the window changed after the menu closed";

    press("Command2");
    askForMenu(form, QPoint(100, 100));
    EXPECT_EQ(shownMenu(), "0000") << "during the first run";
    closeMenus();
    waitForRunEnd();
    askForMenu(form, QPoint(100, 100));
    EXPECT_EQ(shownMenu(), "1111") << "after it";
    closeMenus();
}

TEST_F(WindowTest, TheAnalysisWindowShowsTheRunsFitAndTheDataAreSaved) {
    ChartContextMenu menu(form);
    press("Command2");
    waitForRunEnd();
    const FinishedRun& run = *form.form().lastRun();

    menu.carryOut(ChartAction::ShowAnalysis);
    AnalysisWindow* analysis = menu.analysisWindow();
    ASSERT_NE(analysis, nullptr);
    EXPECT_TRUE(analysis->isVisible());
    EXPECT_EQ(analysis->findChild<QLabel*>("Seme")->text(), "42");
    EXPECT_EQ(analysis->findChild<QLabel*>("Numeri")->text().toStdString(),
              italianFitNumbers(analyseRun(run.parameters, run.p)));
    // Asked for, the same run again beside the analogue correlator.
    EXPECT_FALSE(analysis->findChild<QLabel*>("Analogico")->isVisible());
    analysis->findChild<QPushButton*>("Confronta")->click();
    EXPECT_TRUE(analysis->findChild<QLabel*>("Analogico")->isVisible());
    EXPECT_EQ(analysis->findChild<QLabel*>("Analogico")->text().toStdString(),
              compareWithAnalogue(run).numbers);

    ScratchFolder folder("window_menu_data");
    int filter = 0;
    menu.setFileAsker([&](const QString&, const QString& suggested, const QStringList& filters) {
        EXPECT_TRUE(suggested.endsWith("correlatore-seme-42.csv")) << suggested.toStdString();
        EXPECT_EQ(filters.size(), 2);
        return ChartContextMenu::FileChoice{QString::fromStdString(folder / "dati"), filter};
    });
    menu.carryOut(ChartAction::SaveData);
    EXPECT_EQ(fileText(folder / "dati.csv"), runCsv(run));
#if CORRELATORE_READS_WORKBOOKS

    // Where the machine has a locale that writes decimals with a comma, the window runs under it.
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const char* comma = nullptr;
    for (const char* name : {"it_IT.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"})
        if (!comma && std::setlocale(LC_NUMERIC, name))
            comma = name;
    filter = 1;
    menu.carryOut(ChartAction::SaveData);
    std::setlocale(LC_NUMERIC, saved.c_str());
    const unzFile zip = unzOpen64((folder / "dati.xlsx").c_str());
    ASSERT_NE(zip, nullptr) << "not a workbook";
    ASSERT_EQ(unzLocateFile(zip, "xl/worksheets/sheet1.xml", 0), UNZ_OK);
    ASSERT_EQ(unzOpenCurrentFile(zip), UNZ_OK);
    std::string sheet(1 << 20, '\0');
    sheet.resize(static_cast<std::size_t>(
        unzReadCurrentFile(zip, sheet.data(), static_cast<unsigned>(sheet.size()))));
    unzCloseCurrentFile(zip);
    unzClose(zip);
    EXPECT_NE(sheet.find("<v>-59.5</v>"), std::string::npos) << "the second step's s";
    EXPECT_EQ(sheet.find("<v>-59,5</v>"), std::string::npos)
        << "written with a decimal comma under " << (comma ? comma : "C");
    if (!comma)
        std::cout << "no locale with a decimal comma here: the workbook was written under C\n";
#endif
}
