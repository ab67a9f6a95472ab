#include "applications/ApplicationFiles.h"
#include "users/DniValidator.h"

#include "applications/ApplicationColumns.h"
#include "applications/ApplicationPair.h"
#include "catalog/CatalogColumns.h"
#include "platform/TextHelpers.h"
#include "platform/data/RecordSet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmora {
namespace {

constexpr qsizetype kNameLength = 21;

// A bare file name: never a path that would reach outside the folder.
bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           name != QLatin1String(".") && name != QLatin1String("..");
}

QString bodyDescription(const RecordSet& bodies, const QString& code) {
    if (!bodies.isOpen())
        return QString();
    std::unique_ptr<RecordSet> cursor = bodies.clone();
    cursor->moveFirst();
    if (!cursor->find(Filter::equals(col::Bodies::CodCuerpo, code)).ok() || cursor->isEOF())
        return QString();
    return cursor->text(col::Bodies::DescCuerpo);
}

// A body code shorter than five characters reaches the name padded with "_" on the left;
// the catalogue knows it without the padding.
QString withoutPadding(const QString& bodyCode) {
    qsizetype start = 0;
    while (start < bodyCode.size() && bodyCode.at(start) == QLatin1Char('_'))
        ++start;
    return bodyCode.mid(start);
}

} // namespace

QString applicationFileName(const QString& dni, const QString& bodyCode, const QString& group) {
    const QString dniPart = PadText(dni.left(kDniLength), kDniLength, true, u'0');
    const QString bodyPart = PadText(bodyCode.left(5), 6, true, u'_');
    const QString groupPart = PadText(group.left(2), 2, true, u'0');
    return dniPart + bodyPart + groupPart + QStringLiteral(".doc");
}

QString sidecarFileName(const QString& documentName) {
    return documentName.chopped(std::min<qsizetype>(4, documentName.size())) + QStringLiteral(".xml");
}

Status createApplicationFilesTable(RecordSet& table) {
    VELMORA_TRY(table.appendColumn(col::ApplicationFiles::Fichero.toString(), ColumnType::Text, 21));
    VELMORA_TRY(table.appendColumn(col::ApplicationFiles::DNI.toString(), ColumnType::Text, kDniLength));
    VELMORA_TRY(table.appendColumn(col::ApplicationFiles::Cuerpo.toString(), ColumnType::Text, 5));
    VELMORA_TRY(table.appendColumn(col::ApplicationFiles::DescCuerpo.toString(), ColumnType::Text, 60));
    VELMORA_TRY(table.appendColumn(col::ApplicationFiles::Grupo.toString(), ColumnType::Text, 2));
    VELMORA_TRY(table.appendColumn(col::ApplicationFiles::Fecha.toString(), ColumnType::Text, 16));
    VELMORA_TRY(table.appendColumn(col::ApplicationFiles::Solicitud.toString(), ColumnType::Text, 100));
    return table.open();
}

bool applicationBelongsTo(const QString& fileName, const QString& dni) {
    return fileName.size() == kNameLength && fileName.right(4).toUpper() == QLatin1String(".DOC") &&
           fileName.left(kDniLength) == dni && isPlainFileName(fileName);
}

Result<int> listApplications(const QString& folder, const QString& dni, const RecordSet& bodies,
                             RecordSet& table) {
    table = RecordSet();
    VELMORA_TRY(createApplicationFilesTable(table));

    const QDir dir(folder);
    const QStringList names =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
    int count = 0;
    for (const QString& name : names) {
        if (!applicationBelongsTo(name, dni))
            continue;
        const QString body = name.mid(10, 5);
        const QString description = bodyDescription(bodies, withoutPadding(body));
        const QString saved =
            QFileInfo(dir.filePath(name)).lastModified().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
        VELMORA_TRY(table.addNew());
        VELMORA_TRY(table.setValue(col::ApplicationFiles::DNI, name.left(kDniLength)));
        VELMORA_TRY(table.setValue(col::ApplicationFiles::Cuerpo, body));
        VELMORA_TRY(table.setValue(col::ApplicationFiles::Grupo, name.mid(15, 2)));
        VELMORA_TRY(table.setValue(col::ApplicationFiles::DescCuerpo, description));
        VELMORA_TRY(table.setValue(col::ApplicationFiles::Fichero, name));
        VELMORA_TRY(table.setValue(col::ApplicationFiles::Fecha, saved));
        // What tells one application of the applicant from another: its body and when it
        // was saved last.
        const QString bodyText = (withoutPadding(body) + QLatin1Char(' ') + description).trimmed();
        VELMORA_TRY(
            table.setValue(col::ApplicationFiles::Solicitud,
                           QStringList{name.left(kDniLength), bodyText, saved}.join(QStringLiteral(" · "))));
        ++count;
    }
    table.moveFirst();
    return count;
}

Status deleteApplication(const QString& folder, const QString& fileName) {
    if (!isPlainFileName(fileName))
        return Error::make(
            ErrorCode::FileNotFound,
            QStringLiteral("No se ha podido borrar %1: no es un nombre de fichero").arg(fileName));
    const ApplicationPairFiles files(folder, fileName);
    ApplicationPairLock lock(files);
    VELMORA_TRY(lock.acquire());
    FileSteps steps;
    settleInterruptedSave(files, steps);
    QStringList failures;
    for (const QString& path : {files.document, files.lists}) {
        QFile file(path);
        // A link is removed itself; what it points to is not the application's.
        if ((QFileInfo(path).isSymLink() || file.exists()) && !file.remove())
            failures << QStringLiteral("No se ha podido borrar %1: %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString());
    }
    if (!failures.isEmpty())
        return Error::make(ErrorCode::FileAccess, failures.join(QLatin1Char('\n')));
    return {};
}

bool applicationFileExists(const QString& folder, const QString& fileName) {
    if (!isPlainFileName(fileName))
        return false;
    const QDir dir(folder);
    if (QFileInfo(dir.filePath(fileName)).isFile())
        return true;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        if (name.compare(fileName, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace velmora
