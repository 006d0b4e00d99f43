#include "application_start.h"

#include "display_check.h"
#include "quoted_text.h"

#include <QList>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace correlatore {

namespace {

struct StartMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

// Qt's notes while the application object is made: held back, because they are either the
// reason for the one-line message or passed on once the platform has started.
QList<StartMessage> startMessages;

void holdStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        startMessages.append({type, QByteArray(context.category), text});
        return;
    }
    // Qt says only that no plugin could be initialized; its platform notes say what failed.
    QString reason;
    for (const StartMessage& message : startMessages)
        if (message.category.startsWith("qt.qpa"))
            reason += (reason.isEmpty() ? "" : "; ") + message.text;
    if (reason.isEmpty())
        reason = text.section(QLatin1Char('\n'), 0, 0);
    const std::string line = noDisplay("Qt could start no platform: " + reason.toStdString());
    std::fprintf(stderr, "%s\n", inertLine(line).c_str());
    std::fflush(nullptr);
    std::_Exit(1); // before Qt aborts, and without running the destructors of a half-made Qt
}

} // namespace

std::unique_ptr<QApplication> startApplication(int& argc, char** argv) {
    const QtMessageHandler previous = qInstallMessageHandler(holdStartMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    for (const StartMessage& message : std::exchange(startMessages, {})) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        if (previous)
            previous(message.type, context, message.text);
        else
            std::fprintf(stderr, "%s\n",
                         qPrintable(qFormatLogMessage(message.type, context, message.text)));
    }
    return application;
}

} // namespace correlatore
