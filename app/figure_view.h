#pragma once

#include "chart_text.h"

#include <QWidget>

namespace correlatore {

// A figure (the residual chart) drawn by the window's renderer at its own size, on the chart's
// background, its texts in the window's font.
class FigureView : public QWidget {
public:
    explicit FigureView(QWidget* parent = nullptr);

    void setFigure(Figure figure);
    const Figure& figure() const { return m_figure; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Figure m_figure{0, 0, {}, {}};
};

} // namespace correlatore
