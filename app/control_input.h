#pragma once

class QComboBox;
class QPushButton;

namespace correlatore {

// Enter and keypad Enter click a focused button, as Space does.
void clickOnEnter(QPushButton* button);

// The mouse wheel changes a list's text only while the list has the keyboard focus, and does not
// give it the focus: scrolling past a list must not change a run's parameters.
void wheelOnlyWhenFocused(QComboBox* combo);

} // namespace correlatore
