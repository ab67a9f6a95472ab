// The applicant's certificates in an NSS database, listed without their password (importing
// one is SigningWindowTest.ImportsACertificateFileIntoTheChosenDatabase's).
#include "signing/CertificateDatabase.h"
#include "support/TestCertificates.h"

#include <map>

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
