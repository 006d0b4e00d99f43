// The window's controls as laid out: names, texts (blanks included), places, sizes and fonts from
// the control table, written out here rather than taken from the code; list items sorted, missing
// or pre-selected; auto-size labels over the chart or another control; the restored window's size.

#include "control_table.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace correlatore;

namespace {

// The control table as the user meets it, written out here rather than taken from the code.
struct ExpectedControl {
    const char* name;
    const char* caption; // for Label3, see AxisNumbersStandUnderTheirTicks
    int left, top, width, height;
    double points;
    bool bold;
    bool autoSize;
};

const ExpectedControl expectedControls[] = {
    {"Label1", "SIMULATORE DEL PROCESSO DI CORRELAZIONE", 5520, 7320, 9165, 435, 18, true, true},
    {"Command1", "Crt = f(Si/Ni)", 11520, 2160, 1215, 495, 8.25, false, false},
    {"Command2", "Crsp = f(Si/Ni)", 11520, 3840, 1215, 495, 8.25, false, false},
    {"Label2", "Si/Ni (db)", 10080, 6450, 1125, 300, 12, true, true},
    {"Label3", nullptr, 0, 6480, 9510, 240, 9.75, true, true},
    {"Label4", "+1   C = f (Si/Ni)", 9240, 0, 1920, 300, 12, true, true},
    {"Label5", "0", 9360, 3000, 165, 300, 12, true, true},
    {"Combo1", "Beta", 2520, 8880, 1335, 315, 8.25, false, false},
    {"Combo2", "Nm campioni", 840, 8880, 1335, 315, 8.25, false, false},
    {"Label6", "Nm campioni            Beta", 840, 8400, 2895, 255, 9.75, true, false},
    {"Label7", "Iniziali:  Nm = 20000         Beta = 100", 360, 9600, 3495, 375, 8.25, true, false},
    {"Label8", "Funzione calcolata", 11520, 1800, 1455, 375, 8.25, false, false},
    {"Label9", "Funzione sperimentale", 11400, 3480, 1815, 375, 8.25, false, false},
    {"Command3", "Reset", 11520, 5280, 1215, 495, 8.25, false, false},
    {"Picture1", nullptr, 7320, 8280, 5175, 1335, 0, false, false},
};

} // namespace

TEST_F(WindowTest, ControlsStandWhereTheLayoutPutsThem) {
    for (const ExpectedControl& row : expectedControls) {
        SCOPED_TRACE(row.name);
        QWidget* widget = control<QWidget>(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->pos(), QPoint(px(row.left), px(row.top)));
        if (!row.autoSize) {
            EXPECT_EQ(widget->size(), QSize(px(row.width), px(row.height)));
        }
        if (row.caption) {
            EXPECT_EQ(captionOf(widget), QString::fromUtf8(row.caption));
        }
        if (row.points > 0) {
            EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), row.points);
            EXPECT_EQ(widget->font().bold(), row.bold);
            EXPECT_FALSE(widget->font().italic() || widget->font().underline());
        }
    }
    EXPECT_EQ(control<QComboBox>("Combo1")->currentIndex(), -1);
    EXPECT_EQ(control<QComboBox>("Combo2")->currentIndex(), -1);
}
TEST_F(WindowTest, WindowSettings) {
    EXPECT_EQ(form.windowTitle(), "Form1");
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(form.windowIcon().isNull());
    // The fifteen controls, and the chart's stand-in for assistive technology.
    EXPECT_EQ(form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 16);
    form.showNormal();
    QTest::qWait(10);
    EXPECT_EQ(form.size(), QSize(px(restoredClientWidth), px(restoredClientHeight)));
}
TEST_F(WindowTest, ListsHoldTheirItemsUnsortedAndEditable) {
    const struct {
        const char* name;
        QStringList items;
    } lists[] = {{"Combo1", {"100", "200", "400", "800", "1600", "3200", "6400"}},
                 {"Combo2", {"20000", "200000"}}};
    for (const auto& list : lists) {
        auto* combo = control<QComboBox>(list.name);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        EXPECT_EQ(items, list.items) << list.name;
        EXPECT_TRUE(combo->isEditable());
        // Typing keeps exactly what was typed: no completion, no new item.
        combo->setFocus();
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), "2");
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(combo->currentText(), "2");
        EXPECT_EQ(combo->count(), list.items.size());
    }
    EXPECT_EQ(count(DrawOp::Kind::Circle), 0u); // typing runs nothing
}
TEST_F(WindowTest, AutoSizeLabelsOverlapNeitherControlsNorTheChart) {
    const QRect plot(0, 0, px(9200) + 1, px(6400) + 1);
    for (const ExpectedControl& row : expectedControls) {
        if (!row.autoSize)
            continue;
        const QRect box = control<QWidget>(row.name)->geometry();
        EXPECT_FALSE(box.intersects(plot)) << row.name;
        for (const ExpectedControl& other : expectedControls) {
            if (other.name != row.name) {
                EXPECT_FALSE(box.intersects(control<QWidget>(other.name)->geometry()))
                    << row.name << " overlaps " << other.name;
            }
        }
    }
    // The horizontal axis ends where "0" begins.
    EXPECT_EQ(control<QLabel>("Label5")->x(), px(9360));
}
TEST_F(WindowTest, ButtonsLieOverTheLegendsAboveThem) {
    // "Funzione calcolata" reaches 15 twips into Command1: the button is on top there.
    const QPoint overlap(px(11520) + 10, px(2160));
    ASSERT_TRUE(control<QWidget>("Label8")->geometry().contains(overlap));
    EXPECT_EQ(form.childAt(overlap), control<QWidget>("Command1"));
}
TEST_F(WindowTest, ListsFormulaAndChartHaveNamesForAssistiveTechnology) {
    const struct {
        const char* control;
        QString name;
    } rows[] = {{"Combo1", "Beta"},
                {"Combo2", "Nm campioni"},
                {"Picture1", QStringLiteral("Crt = (2 / π) ArcSen [1 / (1 + (Ni/Si)²)]")},
                {"chart", "Grafico C = f (Si/Ni)"}};
    for (const auto& row : rows) {
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(control<QWidget>(row.control));
        ASSERT_NE(accessible, nullptr) << row.control;
        EXPECT_EQ(accessible->text(QAccessible::Name), row.name) << row.control;
    }
}