#pragma once

#include <QWidget>

namespace correlatore {

// The chart as assistive technology meets it: a child of the window over the plot and its axes,
// with the chart's role, name and description. It draws nothing and lets every click through to
// the window, so what shows and what a click does are those of the window alone.
class ChartArea : public QWidget {
    Q_OBJECT

public:
    explicit ChartArea(QWidget* form);
};

} // namespace correlatore
