#include "platform/widgets/DesktopOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace velmora {
namespace {

// On free desktops QDesktopServices hands the file to xdg-open and reports success even
// when nothing is registered for its kind; ask the registry first.
bool desktopHasApplicationFor(const QString& path) {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    Q_UNUSED(path);
    return true;
#else
    if (QGuiApplication::platformName() == QLatin1String("offscreen") ||
        QGuiApplication::platformName() == QLatin1String("minimal"))
        return false;
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return false;
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(3000))
        return false;
    return !query.readAllStandardOutput().trimmed().isEmpty();
#endif
}

} // namespace

bool openWithDesktopApplication(const QString& path) {
    if (!QFileInfo(path).isFile() || !desktopHasApplicationFor(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

} // namespace velmora
