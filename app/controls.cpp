#include "controls.h"

#include "axis_numbers_label.h"
#include "control_input.h"
#include "control_table.h"
#include "renderer.h"
#include "run_parameters.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace correlatore {

namespace {

QFont fontFor(const QString& family, ControlFont wanted) {
    QFont font(family);
    font.setPointSizeF(wanted.pointSize);
    font.setWeight(wanted.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QWidget* createLabel(const ControlRow& row, QWidget* form) {
    const QString caption = QString::fromStdString(row.caption);
    QLabel* label = row.name == std::string_view("Label3")
                        ? new AxisNumbersLabel(caption, pixelsOf(row.width), form)
                        : new QLabel(caption, form);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(false);
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(true); // opaque, in the window's background colour
    return label;
}

QWidget* createComboBox(const ControlRow& row, QWidget* form) {
    auto* combo = new QComboBox(form);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr); // what is typed stays exactly as typed
    // The lists offer exactly the texts that a run recognises.
    const auto addItems = [combo](const auto& items) {
        for (const std::string_view item : items)
            combo->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
    };
    if (row.name == std::string_view("Combo1"))
        addItems(betaItems);
    else
        addItems(nmItems);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString::fromStdString(row.caption));
    // A screen reader names a list by what it sets; its edit field starts with the same words.
    combo->setAccessibleName(row.name == std::string_view("Combo1")
                                 ? QStringLiteral("Beta")
                                 : QStringLiteral("Nm campioni"));
    wheelOnlyWhenFocused(combo);
    return combo;
}

QWidget* createPictureBox(QWidget* form) {
    auto* picture = new QLabel(form);
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setLineWidth(2);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setPixmap(QPixmap(QStringLiteral(":/formula.bmp")));
    picture->setScaledContents(false);
    picture->setAutoFillBackground(true);
    picture->setFocusPolicy(Qt::TabFocus);
    picture->setAccessibleName(QStringLiteral("Crt = (2 / π) ArcSen [1 / (1 + (Ni/Si)²)]"));
    return picture;
}

QWidget* createControl(const ControlRow& row, QWidget* form) {
    switch (row.kind) {
    case ControlKind::Label:
        return createLabel(row, form);
    case ControlKind::PushButton: {
        auto* button = new QPushButton(QString::fromStdString(row.caption), form);
        button->setAutoDefault(false);
        button->setDefault(false);
        clickOnEnter(button);
        return button;
    }
    case ControlKind::ComboBox:
        return createComboBox(row, form);
    case ControlKind::PictureBox:
        return createPictureBox(form);
    }
    return nullptr;
}

void place(QWidget* widget, const ControlRow& row, const QString& fontFamily) {
    widget->setObjectName(row.name);
    widget->setFont(fontFor(fontFamily, row.font));
    if (row.kind == ControlKind::Label) {
        // Every label writes in the button-text colour, the system's colour for labels, or in its
        // own colour put in that role; without an explicit role a label would take whatever
        // role the window's background role implies.
        widget->setForegroundRole(labelTextRole);
        if (row.textColour) {
            QPalette palette = widget->palette();
            palette.setColor(labelTextRole, toQColor(*row.textColour));
            widget->setPalette(palette);
        }
    }
    widget->move(pixelsOf(row.left), pixelsOf(row.top));
    if (row.autoSize)
        widget->resize(widget->sizeHint());
    else
        widget->resize(pixelsOf(row.width), pixelsOf(row.height));
}

} // namespace

const QStringList& uiFontFallbackChain() {
    // The reference font, then fonts with its widths or with those of the fonts that replaced it,
    // so that every caption keeps the room the layout gives it.
    static const QStringList chain{
        QStringLiteral("MS Sans Serif"),   QStringLiteral("Microsoft Sans Serif"),
        QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
        QStringLiteral("Arial"),           QStringLiteral("Helvetica"),
        QStringLiteral("Nimbus Sans"),     QStringLiteral("Nimbus Sans L"),
        QStringLiteral("TeX Gyre Heros"),  QStringLiteral("FreeSans"),
    };
    return chain;
}

QString uiFontFamily() {
    static const QString family = [] {
        for (const QString& candidate : uiFontFallbackChain())
            if (QFontDatabase::hasFamily(candidate))
                return candidate;
        return uiFontFallbackChain().front(); // the font system's nearest match
    }();
    return family;
}

Controls createControls(QWidget* form) {
    const QString fontFamily = form->font().family();
    std::array<QWidget*, 15> widgets{};
    for (const ControlRow& row : controlTable()) {
        QWidget* widget = createControl(row, form);
        place(widget, row, fontFamily);
        widgets[static_cast<std::size_t>(row.tabIndex)] = widget;
    }
    // Layers: labels at the bottom, then the buttons, lists and picture; and the focus chain in
    // tab order, which skips the labels because they take no focus.
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (qobject_cast<QLabel*>(widget) && widget->focusPolicy() == Qt::NoFocus)
            continue;
        widget->raise();
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    const auto find = [form]<typename Widget>(Widget*& into, const char* name) {
        into = form->findChild<Widget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    };
    Controls controls{};
    find(controls.Label1, "Label1");
    find(controls.Label2, "Label2");
    find(controls.Label3, "Label3");
    find(controls.Label4, "Label4");
    find(controls.Label5, "Label5");
    find(controls.Label6, "Label6");
    find(controls.Label7, "Label7");
    find(controls.Label8, "Label8");
    find(controls.Label9, "Label9");
    find(controls.Command1, "Command1");
    find(controls.Command2, "Command2");
    find(controls.Command3, "Command3");
    find(controls.Combo1, "Combo1");
    find(controls.Combo2, "Combo2");
    find(controls.Picture1, "Picture1");
    return controls;
}

} // namespace correlatore
