#include "platform/Modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <map>
#include <mutex>
#include <string>

namespace velmora {
namespace {

QString modulePath(const char* name) {
    const QString programs =
        QCoreApplication::instance()
            ? QCoreApplication::applicationDirPath()
            : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
    return QDir(programs).filePath(QStringLiteral("../lib/velmora/modules/") + QString::fromLatin1(name));
}

} // namespace

Result<void (*)()> moduleFunction(const char* name, const char* symbol) {
    static std::mutex guard;
    static std::map<std::string, QString> failures; // modules that could not be loaded, and why
    const std::lock_guard<std::mutex> lock(guard);
    auto failed = [&](const QString& why) -> Error {
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("no se ha podido cargar el módulo %1 de la instalación (%2)")
                               .arg(QString::fromLatin1(name), why));
    };
    if (const auto known = failures.find(name); known != failures.end())
        return failed(known->second);
    // A loaded library stays loaded when its QLibrary goes; loading it again only counts.
    QLibrary library(modulePath(name));
    if (!library.load()) {
        failures[name] = library.errorString();
        return failed(library.errorString());
    }
    if (const QFunctionPointer function = library.resolve(symbol))
        return function;
    return failed(library.errorString());
}

} // namespace velmora
