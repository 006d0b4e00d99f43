// The window's tests share one program: one QApplication, with Qt's own texts in Italian.

#include "qt_italian.h"
#include "window_application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    correlatore::WindowApplication app(argc, argv);
    correlatore::installQtItalian(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
