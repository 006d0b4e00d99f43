#include "control_input.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

namespace correlatore {

namespace {

class EnterClicks : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (!key->isAutoRepeat())
            static_cast<QPushButton*>(watched)->click();
        return true;
    }
};

class WheelWhenFocused : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel || static_cast<QWidget*>(watched)->hasFocus())
            return false;
        event->ignore();
        return true;
    }
};

} // namespace

void clickOnEnter(QPushButton* button) {
    button->installEventFilter(new EnterClicks(button));
}

void wheelOnlyWhenFocused(QComboBox* combo) {
    combo->setFocusPolicy(Qt::StrongFocus);
    combo->installEventFilter(new WheelWhenFocused(combo));
}

} // namespace correlatore
