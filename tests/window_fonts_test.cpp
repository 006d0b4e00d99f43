// The fallback chain of fonts, font by font: a caption cut off in any font of it that the machine
// has; and that the check does see a cut caption, in a wider font outside the chain.

#include "controls.h"
#include "window_fixture.h"

#include <QFontDatabase>
#include <QFontInfo>

using namespace correlatore;

TEST(WindowFonts, NoCaptionIsCutInAnyFontOfTheChain) {
    const auto captionsCutWith = [](const QString& family) {
        Form1 form(nullptr, family);
        form.showMaximized();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        // Where several foundries make the family, Qt names the one it took: "Nimbus Sans [urw]".
        const QString shown = QFontInfo(form.findChild<QWidget*>("Label9")->font()).family();
        EXPECT_EQ(shown.section(QStringLiteral(" ["), 0, 0).toStdString(), family.toStdString());
        form.findChild<QWidget*>("Picture1")->setFocus();
        QCoreApplication::processEvents();
        return cutCaptions(form);
    };
    int tried = 0;
    for (const QString& family : uiFontFallbackChain()) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        ++tried;
        EXPECT_EQ(captionsCutWith(family), std::vector<std::string>{}) << family.toStdString();
    }
    EXPECT_GT(tried, 0) << "no font of the chain on this machine: run scripts/install-deps";
    if (QFontDatabase::hasFamily("DejaVu Sans")) {
        const std::vector<std::string> cut = captionsCutWith("DejaVu Sans");
        EXPECT_NE(std::find(cut.begin(), cut.end(), "Combo2"), cut.end());
    }
}