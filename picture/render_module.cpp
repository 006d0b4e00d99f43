#include "render_module.h"

#include "picture_file.h"
#include "quoted_text.h"
#ifndef CORRELATORE_RENDER_WINDOW
#define CORRELATORE_RENDER_WINDOW 0
#endif

#if CORRELATORE_RENDER_WINDOW
#include "window_picture.h"

#include <QApplication>
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

#if CORRELATORE_RENDER_WINDOW
// What a desktop asks of the windows it shows: their scale, the density of their fonts, their
// style and theme. Qt reads these when the application object is made; the picture is the window
// at its own size whatever they say, so that a picture repeats on any desk and only --scale
// scales it (QT_SCALE_FACTOR=1000 asked for a picture of ten gigabytes).
constexpr const char* desktopLook[] = {
    "QT_SCALE_FACTOR",       "QT_SCREEN_SCALE_FACTORS",         "QT_FONT_DPI",
    "QT_USE_PHYSICAL_DPI",   "QT_ENABLE_HIGHDPI_SCALING",       "QT_AUTO_SCREEN_SCALE_FACTOR",
    "QT_DEVICE_PIXEL_RATIO", "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_STYLE_OVERRIDE",
    "QT_QPA_PLATFORMTHEME"};
#endif

// The window's widgets need an application object; the picture needs no display, so it is made
// on the offscreen platform, whatever the desktop session is.
std::optional<QByteArray> pictureOfTheWindow([[maybe_unused]] const PictureRequest& request,
                                             [[maybe_unused]] const DisplayList& ops,
                                             [[maybe_unused]] const PictureInfo& info) {
#if !CORRELATORE_RENDER_WINDOW
    return std::nullopt;
#else
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* name : desktopLook)
        qunsetenv(name);
    int argc = 1;
    char name[] = "correlatore-cli";
    char* argv[] = {name, nullptr};
    const QApplication application(argc, argv);
    const ListTexts lists{request.combo1Text, request.combo2Text};
    return windowPicture(ops, request.layout, lists, request.format, request.scale, info);
#endif
}

} // namespace

extern "C" __attribute__((visibility("default"))) PictureStatus
correlatore_render_picture(const PictureRequest* request, PictureSink sink, void* context) {
    qInstallMessageHandler(onlyQtErrors);
    const bool bare = request->layout == PictureLayout::BareChart;
    if (!CORRELATORE_RENDER_WINDOW && !bare)
        return PictureStatus::NoWindow;
    const DisplayList ops(request->ops, request->ops + request->count);
    const PictureInfo info = infoOf(*request);
    const auto bytes = bare ? chartPicture(ops, request->format, request->scale, info)
                            : pictureOfTheWindow(*request, ops, info);
    if (!bytes)
        return PictureStatus::CannotEncode;
    sink(bytes->constData(), static_cast<std::size_t>(bytes->size()), context);
    return PictureStatus::Made;
}
