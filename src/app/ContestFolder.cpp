#include "app/ContestFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>

namespace velmora {
namespace {

const QString kSettingsKey = QStringLiteral("concurso/carpeta");

QString shown(const QString& folder) {
    return QDir::toNativeSeparators(QDir(folder).absolutePath());
}

// Writes a byte into a new file in `folder` and removes it: the one sure answer to whether
// the program will be able to save there.
bool canWriteIn(const QString& folder) {
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".velmora-prueba-XXXXXX")));
    if (!probe.open())
        return false;
    return probe.write("\n", 1) == 1 && probe.flush();
}

} // namespace

Status checkContestFolder(const QString& folder) {
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return Error::make(ErrorCode::FileNotFound,
                           QStringLiteral("La carpeta %1 no existe.").arg(shown(folder)));
    QStringList missing;
    if (!QFileInfo(dir.filePath(QStringLiteral("conf.xml"))).isFile())
        missing << QStringLiteral("el fichero conf.xml");
    if (!QFileInfo(dir.filePath(QStringLiteral("ficheros"))).isDir())
        missing << QStringLiteral("la carpeta ficheros");
    if (missing.isEmpty())
        return {};
    return Error::make(ErrorCode::FileNotFound,
                       QStringLiteral("La carpeta %1 no contiene un concurso: falta %2.\n\n"
                                      "Elija la carpeta del concurso que le entregó la oficina del concurso.")
                           .arg(shown(folder), missing.join(QStringLiteral(" y "))));
}

Status checkContestFolderWritable(const QString& folder) {
    const QDir dir(folder);
    const QString applications = dir.filePath(QStringLiteral("ficheros/temp"));
    for (const QString& where : {dir.absolutePath(), applications}) {
        if (QDir().mkpath(where) && canWriteIn(where))
            continue;
        return Error::make(
            ErrorCode::FileAccess,
            QStringLiteral("No se puede escribir en la carpeta %1.\n\n"
                           "En la carpeta del concurso se guardan los usuarios y las solicitudes. "
                           "Copie la carpeta del concurso a una carpeta suya (por ejemplo, su "
                           "carpeta personal) o pida permiso de escritura en ella.")
                .arg(shown(where)));
    }
    return {};
}

Status checkContestFolderUsable(const QString& folder) {
    VELMORA_TRY(checkContestFolder(folder));
    return checkContestFolderWritable(folder);
}

QString RememberedContestFolder::folder() const {
    return m_settings.value(kSettingsKey).toString();
}

void RememberedContestFolder::remember(const QString& folder) {
    m_settings.setValue(kSettingsKey, QDir(folder).absolutePath());
    m_settings.sync();
}

QString ContestFolderPicker::chooserTitle() {
    return QStringLiteral("Seleccione la carpeta del concurso");
}

Result<QString> ContestFolderPicker::usable(const QString& folder) {
    if (const Status status = checkContestFolderUsable(folder); !status.ok())
        return Error::told(status.error().number, status.error().description, programTitle(),
                           MessageIcon::Exclamation);
    m_memory.remember(folder);
    return QDir(folder).absolutePath();
}

Result<QString> ContestFolderPicker::useGiven(const QString& folder) {
    return usable(folder);
}

QString ContestFolderPicker::pick(const QString& programFolder) {
    // An installation beside the program, as the contest office may hand it out in one folder.
    if (checkContestFolder(programFolder).ok()) {
        Result<QString> beside = usable(programFolder);
        return beside.ok() ? beside.value() : askUntilUsable(programFolder, beside.error());
    }
    const QString last = m_memory.folder();
    if (last.isEmpty())
        return askUntilUsable(QDir::homePath(), std::nullopt);
    if (checkContestFolder(last).ok()) {
        Result<QString> remembered = usable(last);
        return remembered.ok() ? remembered.value() : askUntilUsable(last, remembered.error());
    }
    return askUntilUsable(QDir::homePath(),
                          Error::told(ErrorCode::FileNotFound,
                                      QStringLiteral("La carpeta del concurso usada la última vez, %1, ya no "
                                                     "está o no contiene un concurso.\n\nSeleccione la "
                                                     "carpeta del concurso.")
                                          .arg(shown(last)),
                                      programTitle(), MessageIcon::Information));
}

QString ContestFolderPicker::askUntilUsable(const QString& startFolder, std::optional<Error> why) {
    QString start = startFolder;
    for (;;) {
        const QString chosen = m_question.chooseFolder(chooserTitle(), start, why);
        if (chosen.isEmpty())
            return {};
        Result<QString> checked = usable(chosen);
        if (checked.ok())
            return checked.value();
        why = checked.error();
        start = chosen;
    }
}

} // namespace velmora
