#include "render_module.h"

#include "picture_file.h"
#include "quoted_text.h"
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
        std::fprintf(stderr, "correlatore-cli: %s\n", inertLine(message.toStdString()).c_str());
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

// What a desktop asks of the windows it shows: their scale, the density of their fonts, their
// style and theme. Qt reads these when the application object is made; the picture is drawn at its
// own size whatever they say, so that a picture repeats on any desk and only --scale scales it
// (QT_SCALE_FACTOR=1000 asked for a picture of ten gigabytes).
constexpr const char* desktopLook[] = {
    "QT_SCALE_FACTOR",       "QT_SCREEN_SCALE_FACTORS",         "QT_FONT_DPI",
    "QT_USE_PHYSICAL_DPI",   "QT_ENABLE_HIGHDPI_SCALING",       "QT_AUTO_SCREEN_SCALE_FACTOR",
    "QT_DEVICE_PIXEL_RATIO", "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_STYLE_OVERRIDE",
    "QT_QPA_PLATFORMTHEME"};

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
    for (const char* name : desktopLook)
        qunsetenv(name);
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
