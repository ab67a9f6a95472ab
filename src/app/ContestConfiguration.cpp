#include "app/ContestConfiguration.h"

#include "catalog/CatalogDecoder.h"
#include "platform/data/CodePages.h"
#include "platform/data/XmlFile.h"

#include <QDir>
#include <QFile>

namespace velmora {
namespace {

QString confPath(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("conf.xml"));
}

} // namespace

QString programVersion() {
    return QStringLiteral("%1.%2.%3")
        .arg(VELMORA_VERSION_MAJOR)
        .arg(VELMORA_VERSION_MINOR)
        .arg(VELMORA_VERSION_PATCH);
}

QString windowCaption(const QString& contestName) {
    return contestName + QLatin1Char(' ') + programVersion();
}

namespace {

// A conf.xml that is missing or does not parse reads as one without settings, never as the
// part that parsed: the first setting looked up then fails with "object missing", the error
// the loading steps and the editor report for it.
void loadConfiguration(const QString& programFolder, pugi::xml_document& doc) {
    if (!loadXmlFile(confPath(programFolder), doc).ok())
        doc.reset();
}

} // namespace

Result<QString> ContestConfiguration::readContestName(const QString& programFolder) {
    pugi::xml_document doc;
    loadConfiguration(programFolder, doc);
    return selectText(doc, QStringLiteral("//Configuracion/@Nombre"));
}

Result<ContestConfiguration> ContestConfiguration::read(const QString& programFolder) {
    pugi::xml_document doc;
    loadConfiguration(programFolder, doc);
    ContestConfiguration config;
    config.templateFolderKey = QStringLiteral("DOT_");
    for (qint16 i = 0; i < 5; ++i) {
        auto perPage = selectText(doc, QStringLiteral("//Configuracion/@numPlazasPorPag"));
        if (!perPage)
            return perPage.error();
        config.positionsPerPage = *perPage;

        TabSettings& tab = config.tabs[size_t(i)];
        tab.index = i;
        const QString tabPath = QStringLiteral("//Tab[%1]/").arg(i);
        QString* fields[] = {&tab.name, &tab.visibility, &tab.title, &tab.gridTitle};
        const char* names[] = {"NombreTab", "Visibilidad", "TituloTab", "TituloSobreGrid"};
        for (int f = 0; f < 4; ++f) {
            auto value = selectText(doc, tabPath + QLatin1String(names[f]));
            if (!value)
                return value.error();
            *fields[f] = *value;
        }
        config.templateFolderKey += tab.isVisible() ? QLatin1Char('1') : QLatin1Char('0');
    }
    auto name = selectText(doc, QStringLiteral("//Configuracion/@Nombre"));
    if (!name)
        return name.error();
    config.contestName = *name;
    return config;
}

Result<QString> readHeadline(const QString& dataFolder) {
    QFile file(QDir(dataFolder).filePath(QStringLiteral("FicheroTexto.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return Error::make(file.exists() ? ErrorCode::FileAccess : ErrorCode::FileNotFound,
                           QStringLiteral("No se encontró el archivo"));
    const QByteArray bytes = file.readAll();
    QString headline;
    for (const QByteArrayView line : splitLines(bytes))
        headline += QLatin1String("\r\n") + codepage::decodeCp1252(line);
    return headline;
}

} // namespace velmora
