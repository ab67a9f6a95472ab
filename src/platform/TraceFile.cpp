#include "platform/TraceFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <mutex>

namespace velmora {

namespace {

std::mutex traceMutex;
QString traceFolder; // guarded by traceMutex

} // namespace

void setTraceFolder(const QString& programFolder) {
    const std::lock_guard lock(traceMutex);
    traceFolder = programFolder;
}

void appendTraceLine(const QString& line) {
    const std::lock_guard lock(traceMutex);
    if (traceFolder.isEmpty())
        return;
    QFile file(QDir(traceFolder).filePath(QStringLiteral("traza.txt")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QString stamped = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) +
                            line + QLatin1Char('\n');
    file.write(stamped.toUtf8());
}

} // namespace velmora
