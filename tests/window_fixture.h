#pragma once

// The window as the window's tests meet it: shown maximized on the offscreen platform, with a fixed
// seed and its run-time errors collected; and what they read off its grabbed pixels.

#include "display_list.h"
#include "form1.h"

#include <QCoreApplication>
#include <QImage>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// A failing expectation on a QString prints its text, not its bytes.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

constexpr int px(int twips) {
    return twips / 15;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.setRunTimeErrorReport(
            [this](const correlatore::RunTimeError& error) { reported.push_back(error); });
        form.setSimulationSeed(42);
        form.showMaximized();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    template <typename W> W* control(const char* name) {
        W* widget = form.findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void press(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    void waitForRunEnd(int timeoutMs = 120000) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isSimulationRunning(); }, timeoutMs));
        QCoreApplication::processEvents();
    }

    std::size_t count(correlatore::DrawOp::Kind kind) const {
        const correlatore::DisplayList& ops = form.surface().ops();
        return static_cast<std::size_t>(
            std::count_if(ops.begin(), ops.end(),
                          [kind](const correlatore::DrawOp& op) { return op.kind == kind; }));
    }

    correlatore::Form1 form;
    std::vector<correlatore::RunTimeError> reported;
};

// The chart's frame alone, as the first paint and Reset leave it.
correlatore::DisplayList frameOnly();

// ---- Reading ink off grabbed pixels

QImage grabbed(QWidget& window);
bool isInk(QColor pixel, QColor background);

// The columns that hold ink, as [left, right]; empty when right < left.
struct Span {
    int left = INT_MAX;
    int right = INT_MIN;
    int width() const { return right < left ? 0 : right - left + 1; }
};

// Ink within `area`, counting only the pixels where `shows` says the control is on top.
template <typename Shows>
Span inkColumns(const QImage& image, QRect area, QColor background, Shows shows) {
    Span span;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (shows(QPoint(x, y)) && isInk(image.pixelColor(x, y), background)) {
                span.left = std::min(span.left, x);
                span.right = std::max(span.right, x);
            }
    return span;
}

// The text a control shows: a label's or a button's caption, a list's edit text.
QString captionOf(QWidget* widget);

// The controls of `form` whose caption shows narrower than it is: cut by the control's edge, by
// a list's scrolling or by a control on top.
std::vector<std::string> cutCaptions(QWidget& form);
