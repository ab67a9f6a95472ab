#include "applications/ApplicationPair.h"

#include "applications/ApplicationFiles.h"
#include "platform/ProgramTitle.h"
#include "platform/data/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace velmora {
namespace {

// A save takes well under a second; an instance that holds the lock longer is stuck or gone.
constexpr int kLockWaitMs = 15000;

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

bool isPlainFile(const QString& path) {
    return !isLink(path) && QFileInfo(path).isFile();
}

// Whether two names reach the same file (a folder that ignores the case of names).
bool sameFile(const QString& a, const QString& b) {
    std::error_code failure;
    return std::filesystem::equivalent(std::filesystem::path(QFile::encodeName(a).toStdString()),
                                       std::filesystem::path(QFile::encodeName(b).toStdString()), failure);
}

// Other documents of the same application, named with other letter case ("....DOC").
void removeCaseVariants(const ApplicationPairFiles& files, FileSteps& steps) {
    const QString name = QFileInfo(files.document).fileName();
    const QDir dir(files.folder);
    for (const QString& other : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QString path = dir.filePath(other);
        if (other != name && other.compare(name, Qt::CaseInsensitive) == 0 && !isLink(path) &&
            !sameFile(path, files.document))
            steps.remove(path);
    }
}

class SaveReport {
public:
    explicit SaveReport(const ApplicationPairFiles& files) : m_files(files) {}

    Error failed(const Error& cause, bool oldPairKept = true) {
        const QString text =
            QStringLiteral("No se ha podido guardar la solicitud %1: %2\n%3")
                .arg(native(m_files.document), cause.description,
                     oldPairKept ? QStringLiteral("La solicitud guardada antes sigue como estaba.")
                                 : QStringLiteral("El guardado se terminará la próxima vez que se abra la "
                                                  "solicitud."));
        return Error::told(cause.number, text, programTitle());
    }

private:
    const ApplicationPairFiles& m_files;
};

} // namespace

Status FileSteps::write(const QString& path, const QByteArray& bytes) {
    return writeNewFile(path, bytes);
}

Status FileSteps::rename(const QString& from, const QString& to) {
    return replaceFile(from, to);
}

void FileSteps::remove(const QString& path) {
    QFile::remove(path);
}

ApplicationPairFiles::ApplicationPairFiles(const QString& folderPath, const QString& documentName)
    : folder(folderPath) {
    const QDir dir(folder);
    document = dir.filePath(documentName);
    lists = dir.filePath(sidecarFileName(documentName));
    // Never 21 characters ending in ".doc": no listing of applications shows them.
    newDocument = document + QStringLiteral(".nuevo");
    newLists = lists + QStringLiteral(".nuevo");
    lock = dir.filePath(sidecarFileName(documentName).chopped(4) + QStringLiteral(".bloqueo"));
}

ApplicationPairLock::ApplicationPairLock(const ApplicationPairFiles& files)
    : m_lock(files.lock, kLockWaitMs) {}

Status ApplicationPairLock::acquire() {
    return m_lock.acquire(QStringLiteral(
        "otra copia del programa está guardando esta solicitud; inténtelo de nuevo en unos segundos."));
}

void settleInterruptedSave(const ApplicationPairFiles& files, FileSteps& steps) {
    const bool newDocument = isPlainFile(files.newDocument);
    const bool newLists = isPlainFile(files.newLists);
    // The new document has replaced the old one (only then is its file gone while the new
    // lists file, written before that rename, is still there): the lists follow it.
    if (!newDocument && newLists && isPlainFile(files.document) &&
        listsFileDigest(files.newLists) == documentDigestOf(fileBytes(files.document)) &&
        steps.rename(files.newLists, files.lists).ok())
        return;
    for (const QString& leftover : {files.newDocument, files.newLists})
        if (isLink(leftover) || QFileInfo::exists(leftover))
            steps.remove(leftover);
}

Status saveApplicationPair(const QString& folder, const QString& documentName,
                           const QByteArray& documentBytes, ApplicationLists lists,
                           const QString& programFolder, FileSteps* steps) {
    FileSteps realSteps;
    FileSteps& stepsToUse = steps ? *steps : realSteps;
    const ApplicationPairFiles files(folder, documentName);
    SaveReport report(files);

    const QByteArray listsBytes =
        encodeApplicationXml(buildApplicationXml(lists, documentDigestOf(documentBytes)));
    VELMORA_TRY(checkApplicationXml(listsBytes, programFolder));
    // A lists file too large to be read back would leave the application unopenable.
    if (listsBytes.size() > kMaxListsFileBytes)
        return report.failed(
            Error::make(ErrorCode::FileAccess,
                        QStringLiteral("sus listas ocupan más de %1 MB, el máximo que se puede leer.")
                            .arg(kMaxListsFileBytes / kMegabyte)));

    ApplicationPairLock lock(files);
    if (const Status locked = lock.acquire(); !locked.ok())
        return report.failed(locked.error());
    settleInterruptedSave(files, stepsToUse);
    for (const QString& path : {files.document, files.lists})
        if (isLink(path))
            return report.failed(Error::make(
                ErrorCode::FileAccess,
                QStringLiteral(
                    "%1 es un enlace a otro fichero, y el programa no escribe a través de enlaces.")
                    .arg(native(path))));

    // A destination that cannot be replaced (a folder, a device) stops the save before
    // anything is written: a half-replaced pair could not be settled later either.
    for (const QString& path : {files.document, files.lists})
        if (const Status replaceable = checkReplaceable(path); !replaceable.ok())
            return report.failed(replaceable.error());

    const auto dropNewFiles = [&] {
        stepsToUse.remove(files.newDocument);
        stepsToUse.remove(files.newLists);
    };
    if (const Status written = stepsToUse.write(files.newDocument, documentBytes); !written.ok()) {
        dropNewFiles();
        return report.failed(written.error());
    }
    if (const Status written = stepsToUse.write(files.newLists, listsBytes); !written.ok()) {
        dropNewFiles();
        return report.failed(written.error());
    }
    if (const Status renamed = stepsToUse.rename(files.newDocument, files.document); !renamed.ok()) {
        dropNewFiles();
        return report.failed(renamed.error());
    }
    // From here the new pair stands: a failure now is settled at the next save or reading.
    if (const Status renamed = stepsToUse.rename(files.newLists, files.lists); !renamed.ok())
        return report.failed(renamed.error(), false);
    removeCaseVariants(files, stepsToUse);
    return {};
}

} // namespace velmora
