#include "form1.h"

#include "chart_frame.h"
#include "control_table.h"
#include "curves.h"
#include "renderer.h"
#include "run_parameters.h"
#include "run_seed.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <cstdio>
#include <new>

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
    m_surface.setForeColor(toColorRef(palette().color(QPalette::ButtonText)));
    m_surface.setChangeListener([this] { update(); });
    m_controls = createControls(this);
    m_report = [this](const RunTimeError& error) {
        showAndQuit(this, error);
    };

    connect(m_controls.Command1, &QPushButton::clicked, this,
            [this] { click(&Form1::Command1_Click); });
    connect(m_controls.Command2, &QPushButton::clicked, this,
            [this] { click(&Form1::Command2_Click); });
    connect(m_controls.Command3, &QPushButton::clicked, this,
            [this] { click(&Form1::Command3_Click); });

    resize(pixelsOf(restoredClientWidth), pixelsOf(restoredClientHeight));
    m_controls.Command1->setFocus();
}

Form1::~Form1() = default;

// ---- Event procedures, in the order the classic window declares them ----------------------------

void Form1::Command3_Click() {
    m_surface.Cls();
    reticolo();
}

// A repaint shows everything drawn since the last Cls: the display list is kept, so a covered or
// minimized chart comes back whole. The frame is drawn into the list once, at the first paint;
// every Cls is followed by reticolo, so after that the list always begins with it.
void Form1::Form_Paint() {
    setTitleCaption();
    if (m_surface.isEmpty())
        drawChartFrame(m_surface);
}

void Form1::reticolo() {
    setTitleCaption();
    drawChartFrame(m_surface);
}

void Form1::Command1_Click() {
    fcalcolata();
}

void Form1::fcalcolata() {
    drawTheoreticalCurve(m_surface, m_formula);
}

void Form1::Command2_Click() {
    m_surface.Cls();
    reticolo();
    const RunParameters parameters = readRunParameters(comboText(m_controls.Combo1).toStdString(),
                                                       comboText(m_controls.Combo2).toStdString());
    m_Beta = parameters.beta;
    SimulationOptions options;
    options.parameters = parameters;
    options.seed = m_fixedSeed ? *m_fixedSeed : seedFromClock();
    // Told at every run, so that a run seen in the window can be made again (correlatore --seed,
    // or correlatore-cli render --simulate --seed).
    std::fprintf(stderr, "seed: %llu\n", static_cast<unsigned long long>(options.seed));
    SimulationRun::Receiver receiver{[this](const StepResult& step) { onSimulatedStep(step); },
                                     [this] { onSimulationFinished(); },
                                     [this](const RunTimeError& error) {
                                         onSimulationFailed(error);
                                     }};
    m_run = std::make_unique<SimulationRun>(this, options, std::move(receiver), m_startThread);
}

// ---- Helpers ------------------------------------------------------------------------------------

void Form1::setTitleCaption() {
    // Setting the caption the label already shows must not cause another repaint.
    const QString title = QString::fromUtf8(chartTitle);
    if (m_controls.Label1->text() != title)
        m_controls.Label1->setText(title);
}

QString Form1::comboText(const QComboBox* combo) const {
    if (m_listsAtClick)
        return combo == m_controls.Combo1 ? m_listsAtClick->combo1 : m_listsAtClick->combo2;
    return combo->currentText();
}

void Form1::runEventProcedure(Procedure procedure) {
    if (m_failed)
        return;
    try {
        (this->*procedure)();
        m_surface.dropHiddenRepeats();
    } catch (const RunTimeError& error) {
        fail(error);
    } catch (const std::bad_alloc&) {
        fail(RunTimeError(error_code::outOfMemory, "Memoria esaurita"));
    }
}

void Form1::click(Procedure procedure) {
    if (m_run)
        m_pendingClicks.push_back(
            {procedure, {m_controls.Combo1->currentText(), m_controls.Combo2->currentText()}});
    else
        runEventProcedure(procedure);
}

void Form1::onSimulatedStep(const StepResult& step) {
    if (m_failed)
        return;
    try {
        drawSimulatedPoint(m_surface, step.s, step.p);
    } catch (const RunTimeError& error) {
        m_run.reset();
        fail(error);
    }
}

void Form1::onSimulationFinished() {
    m_run.reset();
    // Clicks made during the run, in the order made; one that starts another run leaves the rest
    // waiting for that run's end.
    while (!m_run && !m_pendingClicks.empty()) {
        const PendingClick next = m_pendingClicks.front();
        m_pendingClicks.pop_front();
        m_listsAtClick = next.lists;
        runEventProcedure(next.procedure);
        m_listsAtClick.reset();
    }
}

void Form1::onSimulationFailed(const RunTimeError& error) {
    m_run.reset();
    fail(error);
}

void Form1::fail(const RunTimeError& error) {
    m_failed = true;
    m_pendingClicks.clear();
    // Reported from the event loop, never from inside a paint event.
    QMetaObject::invokeMethod(
        this, [this, error] { m_report(error); }, Qt::QueuedConnection);
}

void Form1::showDrawing(const DisplayList& ops) {
    m_surface.Cls();
    for (const DrawOp& op : ops) {
        switch (op.kind) {
        case DrawOp::Kind::Point:
            m_surface.PSet(DrawingSurface::colourGiven, op.x1, op.y1, op.colour);
            break;
        case DrawOp::Kind::Line:
            m_surface.Line(DrawingSurface::lineColourGiven, op.x1, op.y1, op.x2, op.y2, op.colour);
            break;
        case DrawOp::Kind::Circle:
            m_surface.Circle(DrawingSurface::colourGiven, op.x1, op.y1, op.x2, op.colour);
            break;
        }
    }
}

void Form1::paintEvent(QPaintEvent*) {
    runEventProcedure(&Form1::Form_Paint);
    QPainter painter(this);
    correlatore::render(m_surface.ops(), painter);
}

void Form1::closeEvent(QCloseEvent* event) {
    m_pendingClicks.clear();
    m_run.reset(); // cancels the run and waits for its threads
    event->accept();
}

} // namespace correlatore
