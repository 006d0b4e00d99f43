#include "form1.h"

#include "control_table.h"
#include "renderer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <cstdio>

namespace correlatore {

namespace {

ColorRef toColorRef(const QColor& colour) {
    return static_cast<ColorRef>(colour.red()) | static_cast<ColorRef>(colour.green()) << 8 |
           static_cast<ColorRef>(colour.blue()) << 16;
}

QIcon programIcon() {
    // The icon file's three images: 32 and 16 pixels in 16 colours, 32 in black and white.
    QIcon icon(QStringLiteral(":/correlatore.ico"));
    if (icon.isNull()) { // without Qt's ICO reader, the same pictures as PNG
        icon.addFile(QStringLiteral(":/icon-32.png"));
        icon.addFile(QStringLiteral(":/icon-16.png"));
    }
    return icon;
}

void showAndQuit(QWidget* window, const RunTimeError& error) {
    QMessageBox::critical(window, QStringLiteral("correlatore"),
                          QStringLiteral("Errore di run-time '%1':\n\n%2")
                              .arg(error.code())
                              .arg(QString::fromStdString(error.what())));
    QCoreApplication::exit(1);
}

} // namespace

Form1::Form1(QWidget* parent, const QString& fontFamily)
    : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setWindowIcon(programIcon());
    QFont font(fontFamily);
    font.setPointSizeF(windowFont.pointSize);
    setFont(font);
    // The window's background is the 3D-face colour, the same grey as in a picture file; its
    // drawing colour the button-text colour.
    QPalette faces = palette();
    faces.setColor(QPalette::Button, toQColor(chartBackground));
    setPalette(faces);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    m_form.setForeColor(toColorRef(palette().color(QPalette::ButtonText)));
    m_controls = createControls(this);
    m_chart = new ChartArea(this);
    setChartDescription(m_form.chartDescription());
    m_report = [this](const RunTimeError& error) {
        showAndQuit(this, error);
    };

    connect(m_controls.Command1, &QPushButton::clicked, this,
            [this] { m_form.click(Button::Command1); });
    connect(m_controls.Command2, &QPushButton::clicked, this,
            [this] { m_form.click(Button::Command2); });
    connect(m_controls.Command3, &QPushButton::clicked, this,
            [this] { m_form.click(Button::Command3); });

    resize(pixelsOf(restoredClientWidth), pixelsOf(restoredClientHeight));
    m_controls.Command1->setFocus();
}

Form1::~Form1() = default;

void Form1::paintEvent(QPaintEvent*) {
    m_form.paint();
    QPainter painter(this);
    correlatore::render(m_form.surface().ops(), painter);
}

void Form1::closeEvent(QCloseEvent* event) {
    m_form.close(); // drops the waiting clicks, cancels the run and waits for its threads
    event->accept();
}

// ---- What the form asks of the window -----------------------------------------------------------

ListTexts Form1::listTexts() const {
    return {m_controls.Combo1->currentText().toStdString(),
            m_controls.Combo2->currentText().toStdString()};
}

void Form1::setTitleCaption(const std::string& caption) {
    // Setting the caption the label already shows must not cause another repaint.
    const QString title = QString::fromStdString(caption);
    if (m_controls.Label1->text() != title)
        m_controls.Label1->setText(title);
}

void Form1::startRun(const SimulationOptions& run) {
    // Told at every run, so that a run seen in the window can be made again (correlatore --seed,
    // or correlatore-cli render --simulate --seed).
    std::fprintf(stderr, "seed: %llu\n", static_cast<unsigned long long>(run.seed));
    SimulationRun::Receiver receiver{[this](const StepResult& step) { m_form.stepDone(step); },
                                     [this](const RunTimeError& error) {
                                         m_form.runTimeError(error);
                                     }};
    m_run = std::make_unique<SimulationRun>(this, run, std::move(receiver), m_startThread);
}

void Form1::endRun() {
    m_run.reset(); // cancels the run if it still works, and waits for its threads
}

void Form1::reportRunTimeError(const RunTimeError& error) {
    // Reported from the event loop, never from inside a paint event.
    QMetaObject::invokeMethod(
        this, [this, error] { m_report(error); }, Qt::QueuedConnection);
}

void Form1::requestRepaint() {
    update();
}

void Form1::setChartDescription(const std::string& description) {
    m_chart->setAccessibleDescription(QString::fromStdString(description));
}

} // namespace correlatore
