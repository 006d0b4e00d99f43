// The keyboard, the mouse wheel and the lists' edit menu: a broken tab order, Enter or the wheel
// acting where they should not, an edit menu in English.

#include "window_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QWheelEvent>
#include <memory>

using namespace correlatore;

TEST_F(WindowTest, TabOrderSkipsTheLabels) {
    QApplication::setActiveWindow(&form);
    control<QPushButton>("Command1")->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return control<QPushButton>("Command1")->hasFocus(); }));
    const char* order[] = {"Command2", "Combo1", "Combo2", "Command3", "Picture1", "Command1"};
    for (const char* name : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        QWidget* expected = control<QWidget>(name);
        EXPECT_TRUE(focused == expected || focused->parentWidget() == expected)
            << "expected " << name << ", got " << focused->objectName().toStdString();
    }
}
TEST_F(WindowTest, EnterAndKeypadEnterClickTheFocusedButton) {
    QApplication::setActiveWindow(&form);
    const struct {
        const char* button;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::size_t drawingLength;
    } presses[] = {
        {"Command1", Qt::Key_Return, Qt::NoModifier, frameOnly().size() + 1200},
        {"Command3", Qt::Key_Enter, Qt::KeypadModifier, frameOnly().size()},
        {"Command1", Qt::Key_Space, Qt::NoModifier, frameOnly().size() + 1200},
        {"Command3", Qt::Key_Return, Qt::NoModifier, frameOnly().size()},
    };
    for (const auto& keyPress : presses) {
        auto* button = control<QPushButton>(keyPress.button);
        button->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return button->hasFocus(); }));
        QTest::keyClick(QApplication::focusWidget(), keyPress.key, keyPress.modifiers);
        EXPECT_EQ(form.surface().ops().size(), keyPress.drawingLength)
            << keyPress.button << " " << keyPress.key;
    }
}
TEST_F(WindowTest, WheelChangesAListOnlyWhileItHasTheFocus) {
    QApplication::setActiveWindow(&form);
    auto* beta = control<QComboBox>("Combo1");
    const auto threeNotchesDown = [&] {
        for (int notch = 0; notch < 3; ++notch) {
            const QPointF centre = beta->rect().center();
            QWheelEvent wheel(centre, beta->mapToGlobal(centre), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(beta, &wheel);
        }
    };
    control<QPushButton>("Command1")->setFocus();
    threeNotchesDown();
    EXPECT_EQ(beta->currentText(), "Beta") << "unfocused";
    beta->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return beta->hasFocus(); }));
    threeNotchesDown();
    EXPECT_EQ(beta->currentText(), "400") << "focused";
}
TEST_F(WindowTest, TheListsEditMenuSpeaksItalian) {
    const std::unique_ptr<QMenu> menu(
        control<QComboBox>("Combo1")->lineEdit()->createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text().remove('&');
    EXPECT_TRUE(texts.join('|').contains("Annulla")) << texts.join('|').toStdString();
}