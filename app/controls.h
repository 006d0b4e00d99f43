#pragma once

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;
class QFont;
class QString;

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

// "MS Sans Serif" where the machine has it, else the metrically close "Liberation Sans".
QString uiFontFamily();

// Creates the fifteen controls of the control table on `form`, in layers (labels under the
// buttons, lists and picture) and in tab order.
Controls createControls(QWidget* form);

} // namespace correlatore
