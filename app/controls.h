#pragma once

#include <QPalette>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;
class QFont;

namespace correlatore {

// The window's controls, by their classic names.
struct Controls {
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QComboBox* Combo1;
    QComboBox* Combo2;
    QLabel* Picture1;
};

// The palette role that every label takes its text colour from.
inline constexpr QPalette::ColorRole labelTextRole = QPalette::ButtonText;

// "MS Sans Serif", then the sans-serif fonts that have its widths, or those of its successors.
const QStringList& uiFontFallbackChain();
// The first font of the chain that the machine has.
QString uiFontFamily();

// Creates the fifteen controls of the control table on `form`, in layers (labels under the
// buttons, lists and picture) and in tab order, in the font family of the form's font.
Controls createControls(QWidget* form);

} // namespace correlatore
