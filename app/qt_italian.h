#pragma once

class QCoreApplication;

namespace correlatore {

// Qt's own texts (the lists' edit menu, the message box's buttons) in Italian, like every other
// text of the window, whatever the machine's language. Without the translations installed they
// stay in English; returns whether they were found.
bool installQtItalian(QCoreApplication& app);

} // namespace correlatore
