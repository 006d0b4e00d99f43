// The window's tests share one program: one QApplication, with Qt's own texts in Italian.

#include "qt_italian.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    correlatore::installQtItalian(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
