// velmora-tools sign: a saved application signed with a certificate of an NSS database, as
// "Firmar solicitud" signs it.
#include "support/PdfTools.h"
#include "support/SavedSample.h"
#include "support/TestCertificates.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct SignRun {
    test::SavedSample sample;
    test::TestCertificates& certificates = test::TestCertificates::shared();
    QString out = sample.dir.file(u"firmada.pdf"_s);

    test::ToolOutput sign(const QString& nickname, const QString& password) {
        const QString pinFile = sample.dir.write(u"pin"_s, password.toUtf8() + "\n");
        return test::runTool({u"sign"_s, sample.dir.path(), sample.fileName, u"--cert"_s, nickname,
                              u"--nssdb"_s, certificates.nssdb, u"--pin-file"_s, pinFile, u"--out"_s, out});
    }
};

} // namespace

TEST(SignToolTest, SignsTheWholePrintoutWithItsBarcodeTexts) {
    SignRun run;
    ASSERT_TRUE(run.certificates.made);
    ASSERT_NO_FATAL_FAILURE(run.sample.save(45, 3, 2, 1));
    const test::ToolOutput signedRun = run.sign(u"solicitante"_s, test::TestCertificates::password);
    ASSERT_EQ(signedRun.exitCode, 0) << signedRun.err.toStdString();

    const test::ToolRun checked =
        test::runTool(u"pdfsig"_s, {u"-nssdir"_s, u"sql:"_s + run.certificates.nssdb, u"-nss-pwd"_s,
                                    test::TestCertificates::password, run.out});
    const QString report = QString::fromUtf8(checked.out);
    for (const QString& expected : {u"Signature Field Name: FirmaSolicitante"_s, u"Total document signed"_s,
                                    u"Signature is Valid"_s, u"serialNumber=IDCES-12345678Z"_s})
        EXPECT_TRUE(report.contains(expected)) << expected.toStdString() << "\n" << report.toStdString();
    // The attachment holds, line by line, what the barcodes of the pages read.
    const test::ToolRun attachment =
        test::runTool(u"qpdf"_s, {u"--show-attachment=velmora-codigos.txt"_s, run.out});
    const test::ToolOutput barcodes = test::runTool({u"barcode"_s, u"read"_s, run.out});
    ASSERT_EQ(barcodes.exitCode, 0) << barcodes.err.toStdString();
    EXPECT_GE(barcodes.out.count(u'\n'), 3) << "the first page's and a barcode of each list";
    EXPECT_EQ(QString::fromUtf8(attachment.out), barcodes.out);
}

TEST(SignToolTest, RefusesWhatMayNotSignTheApplication) {
    SignRun run;
    ASSERT_TRUE(run.certificates.made);
    ASSERT_NO_FATAL_FAILURE(run.sample.save(3, 1, 1, 1));
    const struct {
        const char* name;
        QString nickname;
        QString password;
        QString message;
    } cases[] = {
        {"another NIF", u"otro"_s, test::TestCertificates::password,
         u"El certificado elegido no es del solicitante (NIF 87654321X)."_s},
        {"expired", u"caducado"_s, test::TestCertificates::password,
         u"El certificado elegido no está en vigor: es válido del "_s},
        {"wrong password", u"solicitante"_s, u"mala"_s, u"La contraseña del certificado no es correcta."_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const test::ToolOutput refused = run.sign(c.nickname, c.password);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_TRUE(refused.err.contains(c.message)) << refused.err.toStdString();
        EXPECT_FALSE(QFile::exists(run.out));
    }
}
