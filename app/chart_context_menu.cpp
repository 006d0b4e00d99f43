#include "chart_context_menu.h"

#include "analysis_window.h"
#include "form1.h"
#include "list_texts.h"
#include "window_picture.h"
#include "workbook_file.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QSaveFile>
#include <QShortcut>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cmath>
#include <stdexcept>

namespace correlatore {

namespace {

const std::string program = "correlatore " CORRELATORE_VERSION;

// As render draws it by default: two device pixels a window pixel.
constexpr int savedPictureScale = 2;

PictureInfo infoOf(const PictureDescription& description) {
    PictureInfo info;
    info.title = QString::fromStdString(description.title);
    info.description = QString::fromStdString(description.description);
    for (const auto& [key, value] : description.fields)
        info.fields.append({QString::fromStdString(key), QString::fromStdString(value)});
    return info;
}

// The file dialog, in Italian where Qt's translations are installed.
ChartContextMenu::FileChoice askWithDialog(QWidget* parent, const QString& title,
                                           const QString& suggestedPath,
                                           const QStringList& filters) {
    QString chosenFilter = filters.front();
    ChartContextMenu::FileChoice choice;
    choice.path = QFileDialog::getSaveFileName(parent, title, suggestedPath,
                                               filters.join(QStringLiteral(";;")), &chosenFilter);
    choice.filter = static_cast<int>(std::max<qsizetype>(0, filters.indexOf(chosenFilter)));
    return choice;
}

// The path with the suffix of the chosen filter when it has none of those offered.
QString withSuffix(QString path, const QStringList& suffixes, int chosen) {
    for (const QString& suffix : suffixes)
        if (path.endsWith(suffix, Qt::CaseInsensitive))
            return path;
    return path + suffixes[chosen];
}

} // namespace

ChartContextMenu::ChartContextMenu(Form1& form)
    : m_form(form)
    , m_menu(new QMenu(&form))
    , m_shiftF10(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), &form))
    , m_folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)) {
    m_menu->setObjectName(QStringLiteral("MenuGrafico"));
    for (const ChartMenuEntry& entry : chartMenu(form.form())) {
        QAction* action = m_menu->addAction(QString::fromUtf8(entry.text));
        connect(action, &QAction::triggered, this,
                [this, which = entry.action] { carryOut(which); });
    }
    m_askFile = [this](const QString& title, const QString& suggested, const QStringList& filters) {
        return askWithDialog(&m_form, title, suggested, filters);
    };
    connect(m_shiftF10, &QShortcut::activated, this, [this] { openFromKeyboard(); });
    form.installEventFilter(this);
}

// What it put on the form goes with it, so that nothing it made outlives it.
ChartContextMenu::~ChartContextMenu() {
    delete m_analysis;
    delete m_shiftF10;
    delete m_menu;
}

QMenu* ChartContextMenu::popUp(const QPoint& globalPosition) {
    const auto entries = chartMenu(m_form.form());
    const QList<QAction*> actions = m_menu->actions();
    for (std::size_t i = 0; i < entries.size(); ++i)
        actions[static_cast<qsizetype>(i)]->setEnabled(entries[i].enabled);
    m_menu->popup(globalPosition);
    return m_menu;
}

bool ChartContextMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_form || event->type() != QEvent::ContextMenu)
        return QObject::eventFilter(watched, event);
    const auto* request = static_cast<QContextMenuEvent*>(event);
    const QRect chart = chartRegion(m_form);
    if (request->reason() == QContextMenuEvent::Mouse) {
        if (!chart.contains(request->pos()))
            return false;
        popUp(request->globalPos());
    } else {
        popUp(m_form.mapToGlobal(chart.center()));
    }
    return true;
}

// Shift+F10 asks the focused control for its menu, as the Menu key does: a list's field shows its
// own, and a button, which has none, passes the request to the window.
void ChartContextMenu::openFromKeyboard() {
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != &m_form)
        target = &m_form;
    const QPoint middle = target->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, middle, target->mapToGlobal(middle));
    QApplication::sendEvent(target, &request);
}

void ChartContextMenu::carryOut(ChartAction action) {
    // An entry enabled when the menu opened may not be now (a run started meanwhile).
    for (const ChartMenuEntry& entry : chartMenu(m_form.form()))
        if (entry.action == action && !entry.enabled)
            return;
    switch (action) {
    case ChartAction::CopyPicture:
        return copyPicture();
    case ChartAction::SavePicture:
        return savePicture();
    case ChartAction::SaveData:
        return saveData();
    case ChartAction::ShowAnalysis:
        return showAnalysis();
    }
}

std::optional<QByteArray> ChartContextMenu::picture(PictureFormat format, int scale) const {
    const PictureContent content = shownContent(m_form.form(), program);
    // The lists as render shows them: what chose the run's Beta and Nm.
    const ListTexts lists = content.run ? ListTexts{std::to_string(content.parameters.beta),
                                                    std::to_string(content.parameters.nm)}
                                        : initialListTexts();
    return windowPicture(m_form.surface().ops(), PictureLayout::ChartWithLabels, lists, format,
                         scale, infoOf(describePicture(content)));
}

void ChartContextMenu::copyPicture() {
    // As sharp as the screen shows it.
    const int scale = std::max(1, static_cast<int>(std::ceil(m_form.devicePixelRatioF())));
    if (const auto png = picture(PictureFormat::Png, scale))
        QGuiApplication::clipboard()->setImage(QImage::fromData(*png, "PNG"));
}

void ChartContextMenu::savePicture() {
    const PictureContent content = shownContent(m_form.form(), program);
    const QString stem = content.run ? QString::fromStdString(runFileStem(*m_form.form().lastRun()))
                                     : QStringLiteral("correlatore");
    const QStringList filters = {QStringLiteral("Immagine PNG (*.png)"),
                                 QStringLiteral("Immagine SVG (*.svg)")};
    const QStringList suffixes = {QStringLiteral(".png"), QStringLiteral(".svg")};
    const FileChoice choice = m_askFile(QStringLiteral("Salva immagine"),
                                        QDir(m_folder).filePath(stem + suffixes[0]), filters);
    if (choice.path.isEmpty())
        return;
    const QString path = withSuffix(choice.path, suffixes, choice.filter);
    const PictureFormat format =
        path.endsWith(suffixes[1], Qt::CaseInsensitive) ? PictureFormat::Svg : PictureFormat::Png;
    const auto bytes = picture(format, savedPictureScale);
    if (!bytes)
        return tellFailure(path, QStringLiteral("l'immagine non si lascia codificare"));
    save(path, *bytes);
}

void ChartContextMenu::saveData() {
    const FinishedRun& run = *m_form.form().lastRun();
    QStringList filters = {QStringLiteral("Valori separati da virgole (*.csv)")};
    QStringList suffixes = {QStringLiteral(".csv")};
    if (canWriteWorkbooks()) {
        filters << QStringLiteral("Cartella di lavoro Excel (*.xlsx)");
        suffixes << QStringLiteral(".xlsx");
    }
    const FileChoice choice = m_askFile(
        QStringLiteral("Salva dati"),
        QDir(m_folder).filePath(QString::fromStdString(runFileStem(run)) + suffixes[0]), filters);
    if (choice.path.isEmpty())
        return;
    const QString path = withSuffix(choice.path, suffixes, choice.filter);
    if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
        save(path, QByteArray::fromStdString(runCsv(run)));
        return;
    }
    // The library writes only to a named file: a temporary one, then put in place whole.
    QTemporaryFile workbook;
    if (!workbook.open())
        return tellFailure(path, workbook.errorString());
    try {
        writeWorkbookFile(workbook.fileName().toStdString(), "correlatore simulate", "simulate",
                          runData(run, program));
    } catch (const std::runtime_error& error) {
        return tellFailure(path, QString::fromUtf8(error.what()));
    }
    workbook.seek(0);
    save(path, workbook.readAll());
}

void ChartContextMenu::showAnalysis() {
    if (!m_analysis)
        m_analysis = new AnalysisWindow(&m_form);
    const FinishedRun& run = *m_form.form().lastRun();
    m_analysis->showReport(runReport(run), run);
    m_analysis->show();
    m_analysis->raise();
    m_analysis->activateWindow();
}

bool ChartContextMenu::save(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        tellFailure(path, file.errorString());
        return false;
    }
    m_folder = QFileInfo(path).absolutePath();
    return true;
}

void ChartContextMenu::tellFailure(const QString& path, const QString& reason) {
    QMessageBox::warning(
        &m_form, QStringLiteral("correlatore"),
        QStringLiteral("Impossibile salvare %1:\n%2").arg(QDir::toNativeSeparators(path), reason));
}

} // namespace correlatore
