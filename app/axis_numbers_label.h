#pragma once

#include <QLabel>

namespace correlatore {

// The label under the Si/Ni axis. Its caption is the classic one, "-60", 70 blanks, "0", 75
// blanks, "+60"; it draws the three numbers apart, where axisNumberLefts puts them in its font.
class AxisNumbersLabel : public QLabel {
public:
    AxisNumbersLabel(const QString& caption, int widthPixels, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_width;
};

} // namespace correlatore
