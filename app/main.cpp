#include "display_check.h"
#include "form1.h"
#include "qt_italian.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    if (const std::string problem = correlatore::missingDisplayMessage(); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    QApplication app(argc, argv);
    correlatore::installQtItalian(app);
    correlatore::Form1 form;
    form.showMaximized();
    return app.exec();
}
