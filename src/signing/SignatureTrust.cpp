#include "signing/SignatureTrust.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cert.h>
#include <certdb.h>
#include <nss.h>
#include <pk11pub.h>

namespace velmora {
namespace {

// Far larger than any certificate, small enough that a stray file costs nothing to look at.
constexpr qint64 kLargestCertificateFile = 1 << 20;

// The certificates of a PEM file (every block), or the file itself when it is DER.
std::vector<QByteArray> certificatesIn(const QByteArray& bytes) {
    static const QByteArray begin = "-----BEGIN CERTIFICATE-----";
    static const QByteArray end = "-----END CERTIFICATE-----";
    std::vector<QByteArray> found;
    for (qsizetype at = bytes.indexOf(begin); at >= 0; at = bytes.indexOf(begin, at + 1)) {
        const qsizetype stop = bytes.indexOf(end, at);
        if (stop < 0)
            break;
        const qsizetype from = at + begin.size();
        found.push_back(QByteArray::fromBase64(bytes.mid(from, stop - from).simplified().replace(' ', "")));
    }
    // A DER certificate is one SEQUENCE with a long-form length.
    if (found.empty() && bytes.size() > 4 && quint8(bytes[0]) == 0x30 && quint8(bytes[1]) >= 0x81)
        found.push_back(bytes);
    return found;
}

bool isDatabase(const QDir& dir) {
    return dir.exists(QStringLiteral("cert9.db"));
}

CERTCertificate* decode(const QByteArray& der) {
    SECItem item{siDERCertBuffer, reinterpret_cast<unsigned char*>(const_cast<char*>(der.constData())),
                 static_cast<unsigned int>(der.size())};
    return CERT_NewTempCertificate(CERT_GetDefaultCertDB(), &item, nullptr, PR_FALSE, PR_TRUE);
}

// The DER of the certificates an NSS database trusts as authorities, read through a slot
// opened beside the one poppler uses.
std::vector<QByteArray> databaseAuthorities(const QString& folder, QString* why) {
    const QByteArray databaseConfig = "configdir='sql:" + QFile::encodeName(folder) +
                                      "' tokenDescription='velmora-confianza' flags=readOnly";
    PK11SlotInfo* slot = SECMOD_OpenUserDB(databaseConfig.constData());
    std::vector<QByteArray> found;
    if (!slot) {
        *why = QStringLiteral("no se puede abrir la base de datos de certificados %1").arg(folder);
        return found;
    }
    if (CERTCertList* list = PK11_ListCertsInSlot(slot)) {
        // NSS's own list macros cast C-style; the links are walked by hand.
        for (PRCList* link = PR_LIST_HEAD(&list->list); link != &list->list; link = PR_NEXT_LINK(link)) {
            const CERTCertListNode* n = reinterpret_cast<const CERTCertListNode*>(link);
            CERTCertTrust trust;
            if (CERT_GetCertTrust(n->cert, &trust) != SECSuccess)
                continue;
            const unsigned flags = trust.sslFlags | trust.emailFlags | trust.objectSigningFlags;
            if (flags & CERTDB_TRUSTED_CA)
                found.emplace_back(reinterpret_cast<const char*>(n->cert->derCert.data),
                                   qsizetype(n->cert->derCert.len));
        }
        CERT_DestroyCertList(list);
    }
    SECMOD_CloseUserDB(slot);
    PK11_FreeSlot(slot);
    return found;
}

} // namespace

SignatureTrust::~SignatureTrust() {
    if (m_anchors)
        CERT_DestroyCertList(m_anchors);
}

Result<std::shared_ptr<const SignatureTrust>> SignatureTrust::load(const QString& folder) {
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return Error::make(
            ErrorCode::FileNotFound,
            QStringLiteral("No se encuentra la carpeta de autoridades de confianza %1").arg(folder));
    std::shared_ptr<SignatureTrust> trust(new SignatureTrust(dir.absolutePath()));
    if (isDatabase(dir)) {
        trust->m_database = true;
        return std::shared_ptr<const SignatureTrust>(std::move(trust));
    }
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Readable, QDir::Name)) {
        QFile file(info.filePath());
        if (info.size() > kLargestCertificateFile || !file.open(QIODevice::ReadOnly))
            continue;
        for (QByteArray& der : certificatesIn(file.readAll()))
            trust->m_files.push_back(std::move(der));
    }
    if (trust->m_files.empty())
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("La carpeta %1 no tiene certificados de autoridades (PEM o DER) "
                                          "ni es una base de datos de certificados NSS")
                               .arg(folder));
    return std::shared_ptr<const SignatureTrust>(std::move(trust));
}

CERTCertList* SignatureTrust::anchors(QString* why) const {
    std::call_once(m_made, [this] {
        if (!NSS_IsInitialized()) {
            m_why = QStringLiteral("NSS no está en marcha");
            return;
        }
        const std::vector<QByteArray> authorities =
            m_database ? databaseAuthorities(m_folder, &m_why) : m_files;
        m_anchors = CERT_NewCertList();
        for (const QByteArray& der : authorities)
            if (CERTCertificate* cert = decode(der);
                cert && CERT_AddCertToListTail(m_anchors, cert) != SECSuccess)
                CERT_DestroyCertificate(cert);
        if (PR_CLIST_IS_EMPTY(&m_anchors->list)) {
            CERT_DestroyCertList(m_anchors);
            m_anchors = nullptr;
            if (m_why.isEmpty())
                m_why =
                    QStringLiteral("la carpeta de confianza %1 no tiene certificados de autoridades que se "
                                   "puedan leer")
                        .arg(m_folder);
        }
    });
    if (!m_anchors && why)
        *why = m_why;
    return m_anchors;
}

} // namespace velmora
