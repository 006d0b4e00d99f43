// The fallback chain of fonts, font by font: a caption cut off in any font of it that the machine
// has; and that the check does see a cut caption, in a wider font outside the chain.

#include "controls.h"
#include "window_fixture.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRegularExpression>
#include <iostream>

using namespace correlatore;

namespace {

// Where several foundries make one family, Qt names the one it chose: "Nimbus Sans [urw]".
QString withoutFoundry(QString family) {
    static const QRegularExpression foundry(QStringLiteral(R"(\s*\[[^\]]*\]$)"));
    return family.remove(foundry);
}

bool someFamilyHasSeveralFoundries() {
    const QStringList families = QFontDatabase::families();
    return std::any_of(families.begin(), families.end(),
                       [](const QString& family) { return withoutFoundry(family) != family; });
}

} // namespace

TEST(WindowFonts, NoCaptionIsCutInAnyFontOfTheChain) {
    const auto captionsCutWith = [](const QString& family) {
        Form1 form(nullptr, family);
        form.showMaximized();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        EXPECT_EQ(withoutFoundry(QFontInfo(form.findChild<QWidget*>("Label9")->font()).family()),
                  family);
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
    if (!someFamilyHasSeveralFoundries())
        std::cout << "note: no font family here comes from several foundries; "
                     "scripts/install-deps base installs some\n";
    EXPECT_GT(tried, 0) << "no font of the chain on this machine: run scripts/install-deps";
    if (QFontDatabase::hasFamily("DejaVu Sans")) {
        const std::vector<std::string> cut = captionsCutWith("DejaVu Sans");
        EXPECT_NE(std::find(cut.begin(), cut.end(), "Combo2"), cut.end());
    }
}