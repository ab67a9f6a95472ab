#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace velmora::fuzz {

const QString& scratchFolder() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/velmora-fuzz-XXXXXX"));
    static const QString path = dir.path();
    return path;
}

QString writeScratchFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir(scratchFolder()).filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

void ensureGuiApplication() {
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "velmora-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

} // namespace velmora::fuzz
