#include "platform/Modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <map>
#include <mutex>
#include <string>
#include <utility>

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
    struct Lookup {
        QFunctionPointer function = nullptr;
        QString failure; // why there is none
    };
    static std::mutex guard;
    static std::map<std::pair<std::string, std::string>, Lookup> known;
    const std::lock_guard<std::mutex> lock(guard);
    auto [at, isNew] = known.try_emplace({name, symbol});
    Lookup& lookup = at->second;
    if (isNew) {
        // A loaded library stays loaded when its QLibrary goes.
        QLibrary library(modulePath(name));
        if (library.load())
            lookup.function = library.resolve(symbol);
        if (!lookup.function)
            lookup.failure = library.errorString();
    }
    if (lookup.function)
        return lookup.function;
    return Error::make(ErrorCode::FileAccess,
                       QStringLiteral("no se ha podido cargar el módulo %1 de la instalación (%2)")
                           .arg(QString::fromLatin1(name), lookup.failure));
}

} // namespace velmora
