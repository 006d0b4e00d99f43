#include "chart_area.h"

#include "chart_description.h"
#include "drawing_measures.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <mutex>

namespace correlatore {

namespace {

// A widget tells assistive technology it is a client area unless told otherwise; the chart says
// it is a chart, which screen readers announce as such.
QAccessibleInterface* chartAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String(ChartArea::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<ChartArea*>(object), QAccessible::Chart);
}

// The plot up to the horizontal axis' end at x = 9360 and the bottom grid row at y = 6400.
constexpr int chartRightTwips = 9360;
constexpr int chartBottomTwips = 6400;

} // namespace

ChartArea::ChartArea(QWidget* form)
    : QWidget(form) {
    static std::once_flag factoryInstalled; // once, however many windows the process makes
    std::call_once(factoryInstalled, [] { QAccessible::installFactory(chartAccessible); });
    setObjectName(QStringLiteral("chart"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, pixelsOf(chartRightTwips) + 1, pixelsOf(chartBottomTwips) + 1);
    setAccessibleName(QString::fromStdString(chartAccessibleName()));
    lower(); // under the labels that stand at its edges
}

} // namespace correlatore
