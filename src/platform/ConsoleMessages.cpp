#include "platform/ConsoleMessages.h"

#include <QString>
#include <QtGlobal>

#include <cstring>

namespace velmora {
namespace {

QtMessageHandler g_qtOutput = nullptr;

bool fromPictureDecoder(const QMessageLogContext& context, const QString& text) {
    const char* category = context.category ? context.category : "";
    return !std::strncmp(category, "qt.gui.imageio", 14) || !std::strncmp(category, "qt.imageformats", 15) ||
           text.startsWith(QLatin1String("QImageReader")) ||
           text.startsWith(QLatin1String("QImageIOHandler")) || text.startsWith(QLatin1String("libpng"));
}

void filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg && type != QtCriticalMsg && fromPictureDecoder(context, text))
        return;
    g_qtOutput(type, context, text);
}

} // namespace

void keepDecoderWarningsOffTheConsole() {
    if (!g_qtOutput)
        g_qtOutput = qInstallMessageHandler(filter);
}

} // namespace velmora
