#include "render_module.h"

#include "picture_file.h"
#ifndef CORRELATORE_RENDER_WINDOW
#define CORRELATORE_RENDER_WINDOW 0
#endif

#if CORRELATORE_RENDER_WINDOW
#include "controls.h"
#include "window_picture.h"

#include <QApplication>
#else
#include <QGuiApplication>
#endif

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <optional>

namespace {

using namespace correlatore;

// Qt's notes about the desktop session (a missing XDG_RUNTIME_DIR, say) mean nothing to a program
// that only encodes a picture; only its errors reach stderr.
void onlyQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "correlatore-cli: %s\n", qPrintable(message));
}

PictureInfo infoOf(const PictureRequest& request) {
    PictureInfo info;
    info.title = QString::fromUtf8(request.title);
    info.description = QString::fromUtf8(request.description);
    for (std::size_t i = 0; i < request.fieldCount; ++i)
        info.fields.append({QString::fromUtf8(request.fields[2 * i]),
                            QString::fromUtf8(request.fields[2 * i + 1])});
    return info;
}

ChartTexts textsOf(const PictureRequest& request) {
    ChartTexts texts;
    for (std::size_t i = 0; i < request.textCount; ++i) {
        const PictureText& text = request.texts[i];
        texts.push_back({text.x, text.y, text.colour, text.anchor, text.text});
    }
    return texts;
}

// The picture, with the application object that the window's widgets and any text need. The
// picture needs no display, so it is made on the offscreen platform, whatever the desktop session
// is.
std::optional<QByteArray> makePicture(const PictureRequest& request, const PictureInfo& info) {
    const DisplayList ops(request.ops, request.ops + request.count);
    const ChartTexts texts = textsOf(request);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "correlatore-cli";
    char* argv[] = {name, nullptr};
#if CORRELATORE_RENDER_WINDOW
    const QApplication application(argc, argv);
    const QString family = uiFontFamily();
#else
    const QGuiApplication application(argc, argv);
    const QString family;
#endif
    switch (request.layout) {
    case PictureLayout::BareChart:
        return chartPicture(ops, request.format, request.scale, info, texts, family);
    case PictureLayout::Figure:
        return figurePicture({request.width, request.height, ops, texts}, request.format,
                             request.scale, info, family);
    case PictureLayout::ChartWithLabels:
    case PictureLayout::WholeWindow:
        break;
    }
#if CORRELATORE_RENDER_WINDOW
    const ListTexts lists{request.combo1Text, request.combo2Text};
    return windowPicture(ops, request.layout, lists, request.format, request.scale, info, texts);
#else
    return std::nullopt;
#endif
}

} // namespace

extern "C" __attribute__((visibility("default"))) PictureStatus
correlatore_render_picture(const PictureRequest* request, PictureSink sink, void* context) {
    qInstallMessageHandler(onlyQtErrors);
    const bool ofTheWindow = request->layout == PictureLayout::ChartWithLabels ||
                             request->layout == PictureLayout::WholeWindow;
    if (!CORRELATORE_RENDER_WINDOW && ofTheWindow)
        return PictureStatus::NoWindow;
    const auto bytes = makePicture(*request, infoOf(*request));
    if (!bytes)
        return PictureStatus::CannotEncode;
    sink(bytes->constData(), static_cast<std::size_t>(bytes->size()), context);
    return PictureStatus::Made;
}
