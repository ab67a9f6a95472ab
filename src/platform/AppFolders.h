#pragma once

#include <QDir>
#include <QString>

namespace velmora {

// The working folders, all inside the program folder (the executable's folder).
struct AppFolders {
    QString program;      // conf.xml, usuarios.xml, traza.txt
    QString data;         // ficheros/: catalogues, FicheroTexto.txt, decoding scratch files, templates
    QString applications; // ficheros/temp/: saved applications

    static AppFolders at(const QString& programFolder) {
        const QDir root(programFolder);
        return {root.absolutePath(), root.absoluteFilePath(QStringLiteral("ficheros")) + QLatin1Char('/'),
                root.absoluteFilePath(QStringLiteral("ficheros/temp")) + QLatin1Char('/')};
    }
};

} // namespace velmora
