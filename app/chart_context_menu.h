#pragma once

#include "chart_menu.h"
#include "picture_format.h"

#include <QByteArray>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QMenu;
class QShortcut;

namespace correlatore {

class AnalysisWindow;
class Form1;

// The chart's context menu on Form1: a right click on the chart (its labels included), the Menu
// key or Shift+F10 opens it, also during a run; it changes nothing that the window shows. What it
// offers and what its entries make is the form's (chart_menu.h); this gives them the clipboard,
// file dialogs, files and a window for the analysis. The pictures are those of
// correlatore-cli render: the chart with its labels, with what made it in the file. It must not
// outlive the form.
class ChartContextMenu : public QObject {
public:
    explicit ChartContextMenu(Form1& form);
    ~ChartContextMenu() override;

    // A file asked for: its path, empty when the user cancelled, and which of the filters offered
    // was chosen.
    struct FileChoice {
        QString path;
        int filter = 0;
    };
    using FileAsker = std::function<FileChoice(const QString& title, const QString& suggestedPath,
                                               const QStringList& filters)>;
    // A file dialog unless set otherwise (tests).
    void setFileAsker(FileAsker asker) { m_askFile = std::move(asker); }

    // Opens the menu at `globalPosition`, not waiting for a choice, with its entries enabled as
    // the form now allows; returns it.
    QMenu* popUp(const QPoint& globalPosition);
    void carryOut(ChartAction action);

    // The picture of the chart as it shows, as render draws it; empty when it cannot be made.
    std::optional<QByteArray> picture(PictureFormat format, int scale) const;
    // The analysis window, once asked for.
    AnalysisWindow* analysisWindow() const { return m_analysis; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openFromKeyboard();
    void copyPicture();
    void savePicture();
    void saveData();
    void showAnalysis();
    // Writes `bytes` to `path` whole or not at all; tells the user when it cannot.
    bool save(const QString& path, const QByteArray& bytes);
    void tellFailure(const QString& path, const QString& reason);

    Form1& m_form;
    QMenu* m_menu;
    QShortcut* m_shiftF10;
    AnalysisWindow* m_analysis = nullptr;
    FileAsker m_askFile;
    QString m_folder; // where the last file was saved
};

} // namespace correlatore
