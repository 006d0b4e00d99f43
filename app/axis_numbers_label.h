#pragma once

#include <QLabel>

namespace correlatore {

// The label under the Si/Ni axis. Its caption is the classic one, "-60", 70 blanks, "0", 75 blanks,
// "+60"; but a blank is not equally wide in every font, so the three numbers are placed one by one
// where the reference font puts them: "-60" from x = 0, "0" centred on the vertical axis, "+60"
// ending at the label's reference width, a little past the plot's right end.
class AxisNumbersLabel : public QLabel {
public:
    AxisNumbersLabel(const QString& caption, int axisXPixels, int widthPixels, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Where each number is drawn, in the label's pixels: the boxes of "-60", "0" and "+60".
    QRect minusSixtyBox() const;
    QRect zeroBox() const;
    QRect plusSixtyBox() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect boxOf(const QString& number, int left) const;

    int m_axisX;
    int m_width;
};

} // namespace correlatore
