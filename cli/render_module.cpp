#include "render_module.h"

#include "picture_file.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>

namespace {

// Qt's notes about the desktop session (a missing XDG_RUNTIME_DIR, say) mean nothing to a program
// that only encodes a picture; only its errors reach stderr.
void onlyQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "correlatore-cli: %s\n", qPrintable(message));
}

} // namespace

extern "C" __attribute__((visibility("default"))) int
correlatore_render_picture(const correlatore::DrawOp* ops, std::size_t count, int format, int scale,
                           CorrelatoreSink sink, void* context) {
    using namespace correlatore;
    qInstallMessageHandler(onlyQtErrors);
    const DisplayList list(ops, ops + count);
    const auto bytes =
        chartPicture(list, format == 0 ? PictureFormat::Png : PictureFormat::Svg, scale);
    if (!bytes)
        return 1;
    sink(bytes->constData(), static_cast<std::size_t>(bytes->size()), context);
    return 0;
}
