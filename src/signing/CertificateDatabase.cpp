#include "signing/CertificateDatabase.h"

#include "signing/CertificateNames.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimeZone>

#include <poppler-form.h>

#include <cert.h>
#include <nss.h>
#include <pk11pub.h>
#include <prerror.h>
#include <secerr.h>

#include <memory>

namespace velmora::certificate_database {
namespace {

QString g_openFolder;
bool g_popplerKnowsFolder = false;

struct CertificateDeleter {
    void operator()(CERTCertificate* c) const { CERT_DestroyCertificate(c); }
};
using CertificatePtr = std::unique_ptr<CERTCertificate, CertificateDeleter>;

QString takeNssText(char* text) {
    const QString value = text ? QString::fromUtf8(text) : QString();
    if (text)
        PORT_Free(text);
    return value;
}

QDateTime fromPrTime(PRTime time) {
    return QDateTime::fromMSecsSinceEpoch(time / PR_USEC_PER_MSEC, Qt::UTC);
}

SigningCertificate describe(CERTCertificate& cert) {
    SigningCertificate c;
    c.nickname = QString::fromUtf8(cert.nickname);
    const QString given = nameAttribute(cert.subject, SEC_OID_AVA_GIVEN_NAME);
    const QString surnames = nameAttribute(cert.subject, SEC_OID_AVA_SURNAME);
    c.holderName = given.isEmpty() && surnames.isEmpty() ? takeNssText(CERT_GetCommonName(&cert.subject))
                                                         : (given + QLatin1Char(' ') + surnames).trimmed();
    c.nif = holderNif(cert);
    c.issuer = takeNssText(CERT_GetCommonName(&cert.issuer));
    if (c.issuer.isEmpty())
        c.issuer = takeNssText(CERT_GetOrgName(&cert.issuer));
    PRTime notBefore = 0;
    PRTime notAfter = 0;
    if (CERT_GetCertTimes(&cert, &notBefore, &notAfter) == SECSuccess) {
        c.validFrom = fromPrTime(notBefore);
        c.validUntil = fromPrTime(notAfter);
    }
    return c;
}

CertificatePtr findCertificate(const QString& nickname) {
    return CertificatePtr(PK11_FindCertFromNickname(nickname.toUtf8().constData(), nullptr));
}

Error notOpen() {
    return Error::make(ErrorCode::ObjectClosed,
                       QStringLiteral("No hay abierta ninguna base de datos de certificados."));
}

QString nssError() {
    return QString::fromUtf8(PORT_ErrorToString(PORT_GetError()));
}

Result<QString> passwordFile(const QString& password, std::unique_ptr<QTemporaryFile>& file) {
    // QTemporaryFile creates it readable by its owner only.
    file = std::make_unique<QTemporaryFile>();
    if (!file->open() || file->write(password.toUtf8()) < 0 || !file->flush())
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se ha podido preparar la importación del certificado."));
    return file->fileName();
}

// Runs an NSS tool with its standard input closed: asked for a password it did not get,
// it would otherwise ask again and again on the terminal.
Result<QString> runNssTool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.setStandardInputFile(QProcess::nullDevice());
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(program, arguments);
    if (!tool.waitForStarted())
        return Error::make(
            ErrorCode::FileNotFound,
            QStringLiteral("No se encuentra la herramienta %1 de NSS (paquete libnss3-tools).").arg(program));
    if (!tool.waitForFinished(120'000)) {
        tool.kill();
        tool.waitForFinished();
        return Error::make(ErrorCode::InvalidProcedureCall,
                           QStringLiteral("La herramienta %1 de NSS no ha terminado.").arg(program));
    }
    const QString output = QString::fromLocal8Bit(tool.readAll()).trimmed();
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return Error::make(tool.exitCode() == 0 ? -1 : tool.exitCode(), output);
    return output;
}

} // namespace

QString defaultFolder() {
    // Firefox keeps one database per profile; the one written last is the one in use.
    const QDir firefox(QDir::home().filePath(QStringLiteral(".mozilla/firefox")));
    QString newest;
    QDateTime newestTime;
    for (const QFileInfo& profile : firefox.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QFileInfo db(QDir(profile.filePath()).filePath(QStringLiteral("cert9.db")));
        if (db.isFile() && (newest.isEmpty() || db.lastModified() > newestTime)) {
            newest = profile.filePath();
            newestTime = db.lastModified();
        }
    }
    return newest.isEmpty() ? QDir::home().filePath(QStringLiteral(".pki/nssdb")) : newest;
}

QString openFolder() {
    return g_openFolder;
}

Status open(const QString& folder) {
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    if (!QFileInfo(QDir(absolute).filePath(QStringLiteral("cert9.db"))).isFile())
        return Error::make(
            ErrorCode::FileNotFound,
            QStringLiteral("La carpeta %1 no tiene una base de datos de certificados (cert9.db).")
                .arg(QDir::toNativeSeparators(absolute)));
    if (absolute == g_openFolder && NSS_IsInitialized())
        return {};
    const QByteArray location = QStringLiteral("sql:%1").arg(absolute).toUtf8();
    if (!g_popplerKnowsFolder) {
        // Poppler opens the process's NSS once, read only, and signs through it.
        Poppler::setNSSDir(QString::fromUtf8(location));
        g_popplerKnowsFolder = true;
    } else {
        // Poppler will not open another folder; NSS itself can, once nothing of the
        // previous one is in use.
        if (NSS_IsInitialized() && NSS_Shutdown() != SECSuccess)
            return Error::make(
                ErrorCode::InvalidProcedureCall,
                QStringLiteral("No se puede cerrar la base de datos de certificados anterior: %1")
                    .arg(nssError()));
        if (NSS_Init(location.constData()) != SECSuccess) {
            g_openFolder.clear();
            return Error::make(ErrorCode::FileAccess,
                               QStringLiteral("No se puede abrir la base de datos de "
                                              "certificados de %1: %2")
                                   .arg(QDir::toNativeSeparators(absolute), nssError()));
        }
    }
    if (!NSS_IsInitialized())
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se puede abrir la base de datos de certificados de %1.")
                               .arg(QDir::toNativeSeparators(absolute)));
    g_openFolder = absolute;
    return {};
}

Result<std::vector<SigningCertificate>> signingCertificates() {
    if (g_openFolder.isEmpty())
        return notOpen();
    // The user certificates are those whose key the database holds; telling them needs no
    // password, so the list is shown before the applicant types one.
    CERTCertList* list = PK11_ListCerts(PK11CertListUserUnique, nullptr);
    std::vector<SigningCertificate> found;
    if (!list)
        return found;
    for (PRCList* link = PR_LIST_HEAD(&list->list); link != &list->list; link = PR_NEXT_LINK(link))
        if (auto* node = reinterpret_cast<CERTCertListNode*>(link); node->cert && node->cert->nickname)
            found.push_back(describe(*node->cert));
    CERT_DestroyCertList(list);
    return found;
}

bool needsPassword(const QString& nickname) {
    const CertificatePtr cert = findCertificate(nickname);
    PK11SlotInfo* slot = cert && cert->slot ? cert->slot : nullptr;
    return slot && PK11_NeedLogin(slot) && !PK11_IsLoggedIn(slot, nullptr);
}

Status unlock(const QString& nickname, const QString& password) {
    const CertificatePtr cert = findCertificate(nickname);
    if (!cert)
        return Error::make(
            ErrorCode::ItemNotFound,
            QStringLiteral("No se encuentra el certificado «%1» en la base de datos.").arg(nickname));
    if (!cert->slot || !PK11_NeedLogin(cert->slot) || PK11_IsLoggedIn(cert->slot, nullptr))
        return {};
    if (PK11_CheckUserPassword(cert->slot, password.toUtf8().constData()) != SECSuccess)
        return Error::make(SigningError::WrongPassword,
                           QStringLiteral("La contraseña del certificado no es correcta."));
    return {};
}

void lock(const QString& nickname) {
    if (const CertificatePtr cert = findCertificate(nickname); cert && cert->slot)
        PK11_Logout(cert->slot);
}

Status importPkcs12(const QString& folder, const QString& file, const QString& filePassword,
                    const QString& databasePassword) {
    // NSS's own tool writes the database: this process holds it open read only, as poppler
    // opened it, and NSS opens one database per process.
    if (!QFileInfo(file).isFile())
        return Error::make(ErrorCode::FileNotFound,
                           QStringLiteral("No existe el fichero %1.").arg(QDir::toNativeSeparators(file)));
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    const QString location = QStringLiteral("sql:") + absolute;
    if (!QFileInfo(QDir(absolute).filePath(QStringLiteral("cert9.db"))).isFile()) {
        if (!QDir().mkpath(absolute))
            return Error::make(
                ErrorCode::FileAccess,
                QStringLiteral("No se puede crear la carpeta %1.").arg(QDir::toNativeSeparators(absolute)));
        QFile::setPermissions(absolute, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        auto created = runNssTool(QStringLiteral("certutil"), {QStringLiteral("-N"), QStringLiteral("-d"),
                                                               location, QStringLiteral("--empty-password")});
        if (!created.ok())
            return Error::make(ErrorCode::FileAccess,
                               QStringLiteral("No se puede crear la base de datos de certificados en %1: %2")
                                   .arg(QDir::toNativeSeparators(absolute), created.error().description));
    }
    std::unique_ptr<QTemporaryFile> fileSecret;
    std::unique_ptr<QTemporaryFile> databaseSecret;
    auto filePasswordPath = passwordFile(filePassword, fileSecret);
    VELMORA_TRY(filePasswordPath);
    auto databasePasswordPath = passwordFile(databasePassword, databaseSecret);
    VELMORA_TRY(databasePasswordPath);
    auto imported =
        runNssTool(QStringLiteral("pk12util"),
                   {QStringLiteral("-i"), file, QStringLiteral("-d"), location, QStringLiteral("-w"),
                    filePasswordPath.value(), QStringLiteral("-k"), databasePasswordPath.value()});
    if (imported.ok())
        return {};
    const QString why = imported.error().description;
    if (why.contains(QLatin1String("PKCS12 decode")) && why.contains(QLatin1String("SEC_ERROR_BAD_PASSWORD")))
        return Error::make(
            SigningError::WrongPassword,
            QStringLiteral("La contraseña del fichero %1 no es correcta.").arg(QFileInfo(file).fileName()));
    if (why.contains(QLatin1String("authenticate")))
        return Error::make(
            SigningError::WrongPassword,
            QStringLiteral("La contraseña de la base de datos de certificados no es correcta."));
    return Error::make(ErrorCode::InvalidProcedureCall,
                       QStringLiteral("No se ha podido importar el certificado de %1: %2")
                           .arg(QFileInfo(file).fileName(), why.section(QLatin1Char('\n'), -1)));
}

} // namespace velmora::certificate_database
