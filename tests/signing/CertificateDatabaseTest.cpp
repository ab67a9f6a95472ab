// The applicant's certificates in an NSS database: listed without their password, and
// imported from a PKCS#12 file.
#include "signing/CertificateDatabase.h"
#include "support/TestCertificates.h"

#include <map>

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace velmora;

TEST(CertificateDatabaseTest, ListsTheCertificatesWithTheirHolder) {
    test::TestCertificates& certificates = test::TestCertificates::shared();
    ASSERT_TRUE(certificates.made);
    ASSERT_TRUE(certificate_database::open(certificates.nssdb).ok());
    auto listed = certificate_database::signingCertificates();
    ASSERT_TRUE(listed.ok());
    std::map<QString, SigningCertificate> byName;
    for (const SigningCertificate& c : listed.value())
        byName[c.nickname] = c;
    const QDateTime now = QDateTime::currentDateTime();
    ASSERT_EQ(byName.count(u"solicitante"_s), 1u);
    const SigningCertificate& applicant = byName[u"solicitante"_s];
    EXPECT_EQ(applicant.holderName, u"MARIA GARCIA LOPEZ"_s);
    EXPECT_EQ(applicant.nif, u"12345678Z"_s); // "IDCES-" dropped
    EXPECT_EQ(applicant.issuer, u"AC PRUEBAS VELMORA"_s);
    EXPECT_TRUE(applicant.validFrom < now && now < applicant.validUntil);
    EXPECT_EQ(byName[u"caducado"_s].nif, u"12345678Z"_s); // a bare NIF
    EXPECT_LT(byName[u"caducado"_s].validUntil, now);
    EXPECT_TRUE(certificate_database::needsPassword(u"solicitante"_s));
}

TEST(CertificateDatabaseTest, ImportsAPkcs12FileIntoANewDatabase) {
    test::TestCertificates& certificates = test::TestCertificates::shared();
    ASSERT_TRUE(certificates.made);
    const QString p12 = certificates.exportPkcs12(u"otro"_s, u"clave-p12"_s);
    ASSERT_FALSE(p12.isEmpty());
    const QString folder = certificates.dir.file(u"nueva"_s);

    const Status wrong = certificate_database::importPkcs12(folder, p12, u"mala"_s, {});
    ASSERT_FALSE(wrong.ok());
    EXPECT_EQ(wrong.error().number, SigningError::WrongPassword);
    EXPECT_EQ(wrong.error().description, u"La contraseña del fichero otro.p12 no es correcta."_s);

    ASSERT_TRUE(certificate_database::importPkcs12(folder, p12, u"clave-p12"_s, {}).ok());
    QProcess list;
    list.start(u"certutil"_s, {u"-L"_s, u"-d"_s, u"sql:"_s + folder});
    ASSERT_TRUE(list.waitForFinished(60000));
    EXPECT_TRUE(
        QString::fromUtf8(list.readAllStandardOutput()).contains(QRegularExpression(u"otro +u,u,u"_s)));
}
