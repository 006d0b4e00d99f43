#include "figure_view.h"

#include "drawing_measures.h"
#include "renderer.h"

#include <QPainter>

namespace correlatore {

FigureView::FigureView(QWidget* parent)
    : QWidget(parent) {}

void FigureView::setFigure(Figure figure) {
    m_figure = std::move(figure);
    setFixedSize(m_figure.width, m_figure.height);
    update();
}

void FigureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(chartBackground));
    correlatore::render(m_figure.ops, painter);
    renderTexts(m_figure.texts, painter, pictureFont(font().family()));
}

} // namespace correlatore
