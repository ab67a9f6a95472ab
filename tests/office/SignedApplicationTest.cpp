#include "editor/ControlName.h"
#include "office/OfficeBatchReader.h"
#include "office/OfficeCsvExport.h"
#include "office/OfficeRunMerge.h"
#include "printing/PrintingFixture.h"
#include "signing/SignatureTrust.h"
#include "support/TestCertificates.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

QByteArray run(const QString& program, const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    const bool done = p.waitForFinished(120000);
    EXPECT_TRUE(done && (p.exitCode() == 0 || program == u"pdfsig"_s))
        << program.toStdString() << ' ' << args.join(u' ').toStdString()
        << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

// Prints an application of 3 vacancies; its barcode texts, as the attachment holds them.
QByteArray printTo(const QString& pdf, const QString& dni, int minute) {
    test::PrintingFixture f;
    f.model.setText(ctl::txtDNI, dni);
    f.clock.set(QDateTime(QDate(2024, 3, 5), QTime(9, minute, 0)));
    f.printRecord = GeneraCadenaImpresion(f.model, f.situations);
    test::PrintingFixture::addPositions(f.vacancies, 3);
    Result<ApplicationPrintout> printed = f.runWXP(true);
    EXPECT_TRUE(printed.ok() && QFile::copy(printed->outcome.pdfPath, pdf));
    return printed ? (printed->barcodes.join(u'\n') + u'\n').toUtf8() : QByteArray();
}

// An incremental update after the signature that puts `text` in place of the attachment.
void appendAttachment(const QString& pdf, const QByteArray& text) {
    QByteArray bytes = test::readFile(pdf) + '\n';
    const QString latin = QString::fromLatin1(bytes);
    const auto last = [&](const QString& pattern) {
        QString found;
        for (const auto& m :
             QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption).globalMatch(latin))
            found = m.captured(1);
        return found.toLatin1();
    };
    const qsizetype at = bytes.size();
    bytes += last(u"(\\d+) 0 obj\\s*<<(?:(?!endobj).)*?/Type /EmbeddedFile"_s) +
             " 0 obj\n<< /Type /EmbeddedFile /Length " + QByteArray::number(text.size()) + " >>\nstream\n" +
             text + "\nendstream\nendobj\n";
    const qsizetype xref = bytes.size();
    bytes += "xref\n" + last(u"(\\d+) 0 obj\\s*<<(?:(?!endobj).)*?/Type /EmbeddedFile"_s) + " 1\n" +
             QByteArray::number(at).rightJustified(10, '0') + " 00000 n \ntrailer\n<< /Size " +
             last(u"/Size (\\d+)"_s) + " /Root " + last(u"/Root (\\d+ \\d+ R)"_s) + " /Prev " +
             last(u"startxref\\s+(\\d+)"_s) + " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    test::writeFile(pdf, bytes);
}

enum class Tamper { None, Byte, Append, Attachment };

} // namespace

TEST(SignedApplicationTest, EachFaultOfASignedFileIsNamedAsPdfsigSeesIt) {
    for (const char* tool : {"certutil", "pdfsig", "qpdf"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " missing (scripts/setup.sh installs it)";
    test::TempDir dir;
    test::TestCertificates firma(u"Autoridad de Pruebas"_s), ajena(u"Autoridad Ajena"_s);
    ASSERT_TRUE(firma.made && firma.issue(u"maria"_s, u"IDCES-12345678Z"_s, 2, 0) &&
                firma.issue(u"otro"_s, u"IDCES-00000001R"_s, 3, 0) &&
                firma.issue(u"viejo"_s, u"IDCES-12345678Z"_s, 4, -24) && ajena.made &&
                ajena.issue(u"maria"_s, u"IDCES-12345678Z"_s, 2, 0));
    dir.write(u"confianza/ca.pem"_s, run(u"certutil"_s, {u"-L"_s, u"-d"_s, u"sql:"_s + firma.nssdb, u"-n"_s,
                                                         u"AC Pruebas"_s, u"-a"_s}));

    struct Kind {
        QString name;
        test::TestCertificates* db;
        QString nick;
        Tamper tamper;
        QString problem; // the one problem named; empty: the signature holds
        QString pdfsig;  // what pdfsig says of the file
    } kinds[] = {
        {u"valida"_s,
         &firma,
         u"maria"_s,
         Tamper::None,
         {},
         u"Total document signed\\s+- Signature Validation: Signature is Valid.\\s+- Certificate Validation: Certificate is Trusted"_s},
        {u"byte-cambiado"_s, &firma, u"maria"_s, Tamper::Byte, u"Documento modificado después de firmar"_s,
         u"Digest Mismatch"_s},
        {u"anadido"_s, &firma, u"maria"_s, Tamper::Append, u"Documento modificado después de firmar"_s,
         u"Not total document signed\\s+- Signature Validation: Signature is Valid"_s},
        {u"otro-nif"_s, &firma, u"otro"_s, Tamper::None, u"El firmante no es el solicitante"_s,
         u"Signature is Valid.\\s+- Certificate Validation: Certificate is Trusted"_s},
        {u"caducado"_s, &firma, u"viejo"_s, Tamper::None, u"Certificado caducado al firmar"_s,
         u"Certificate has Expired"_s},
        {u"ajena"_s, &ajena, u"maria"_s, Tamper::None, u"Certificado no reconocido"_s,
         u"Certificate issuer is unknown|Certificate issuer isn't Trusted"_s},
        {u"adjunto"_s, &firma, u"maria"_s, Tamper::Attachment,
         u"Datos adjuntos distintos de los códigos de barras"_s,
         u"Signature is Valid.\\s+- Certificate Validation: Certificate is Trusted"_s},
    };
    QStringList files{dir.file(u"escaneo.pdf"_s)};
    printTo(files[0], u"00000001R"_s, 59); // an unsigned printout: read as a scan
    int minute = 0;
    for (const Kind& k : kinds) {
        const QString pdf = dir.file(k.name + u".pdf"_s);
        QByteArray codes = printTo(dir.file(u"impreso.pdf"_s), u"12345678Z"_s, ++minute);
        if (k.tamper == Tamper::Attachment)
            codes.replace("Mu&noz", "Mu&nox");
        dir.write(u"codigos.txt"_s, codes);
        run(u"qpdf"_s, {u"--add-attachment"_s, dir.file(u"codigos.txt"_s), u"--key=velmora-codigos.txt"_s,
                        u"--filename=velmora-codigos.txt"_s, u"--"_s, dir.file(u"impreso.pdf"_s),
                        dir.file(u"sin-firmar.pdf"_s)});
        run(u"pdfsig"_s,
            {u"-add-signature"_s, u"-nssdir"_s, u"sql:"_s + k.db->nssdb, u"-nss-pwd"_s,
             test::TestCertificates::password, u"-nick"_s, k.nick, u"-new-signature-field-name"_s,
             u"FirmaSolicitante"_s, dir.file(u"sin-firmar.pdf"_s), pdf});
        QFile::remove(dir.file(u"impreso.pdf"_s));
        if (k.tamper == Tamper::Byte)
            test::replaceInFile(pdf, "/ModDate (D:2", "/ModDate (D:1");
        if (k.tamper == Tamper::Append)
            appendAttachment(pdf, codes.replace("10003", "10099"));
        files << pdf;
    }

    Result<std::shared_ptr<const SignatureTrust>> trust = SignatureTrust::load(dir.file(u"confianza"_s));
    ASSERT_TRUE(trust.ok());
    const OfficeReadOptions options{.trust = trust->get()};
    const OfficeReadOutcome outcome = OfficeBatchReader(options).read(files);
    const auto readFrom = [&](const QString& path) -> const OfficeApplication* {
        for (const OfficeApplication& a : outcome.applications)
            if (!a.pages.empty() && a.pages[0].file == QFileInfo(path).fileName())
                return &a;
        return nullptr;
    };
    ASSERT_EQ(outcome.applications.size(), files.size());
    EXPECT_EQ(readFrom(files[0])->signature, u"Sin firma"_s);
    for (size_t i = 0; i < std::size(kinds); ++i) {
        const Kind& k = kinds[i];
        SCOPED_TRACE(k.name.toStdString());
        const OfficeApplication& a = *readFrom(files[qsizetype(i) + 1]);
        QStringList problems;
        for (const OfficeProblem& p : a.problems)
            problems << p.problem;
        EXPECT_EQ(problems, k.problem.isEmpty() ? QStringList() : QStringList{k.problem});
        EXPECT_EQ(a.signature, k.problem.isEmpty()
                                   ? u"Válida"_s
                                   : u"No válida: "_s + k.problem.front().toLower() + k.problem.mid(1));
        // A signature that does not verify names no signer.
        EXPECT_EQ(a.signer.contains(u"GARCIA LOPEZ MARIA"_s), k.tamper != Tamper::Byte);
        // The data come from the attachment, the one appended after signing included.
        ASSERT_EQ(a.vacancies.size(), 3u);
        EXPECT_EQ(a.vacancies[2].code, k.tamper == Tamper::Append ? u"10099"_s : u"10003"_s);
        const QString pdfsig = QString::fromUtf8(
            run(u"pdfsig"_s, {u"-nssdir"_s, u"sql:"_s + firma.nssdb, files[qsizetype(i) + 1]}));
        EXPECT_TRUE(QRegularExpression(k.pdfsig).match(pdfsig).hasMatch()) << pdfsig.toStdString();
    }

    // Merged from two runs over parts of the batch: the single run's files, byte for byte.
    ASSERT_TRUE(writeOfficeCsv(outcome, dir.file(u"salida"_s)).ok());
    const QStringList parts[] = {files.mid(0, 3), files.mid(3)};
    for (int p = 0; p < 2; ++p)
        ASSERT_TRUE(
            writeOfficeCsv(OfficeBatchReader(options).read(parts[p]), dir.file(u"parte%1"_s.arg(p))).ok());
    Result<OfficeReadOutcome> merged = mergeOfficeRuns({dir.file(u"parte0"_s), dir.file(u"parte1"_s)});
    ASSERT_TRUE(merged.ok() && writeOfficeCsv(merged.value(), dir.file(u"unida"_s)).ok());
    for (const char* name : {"solicitudes.csv", "incidencias.csv", "lecturas.csv"})
        EXPECT_EQ(dir.read(u"unida/"_s + QString::fromLatin1(name)),
                  dir.read(u"salida/"_s + QString::fromLatin1(name)))
            << name;
    EXPECT_TRUE(dir.read(u"salida/solicitudes.csv"_s).contains(",Firma,Firmante,FechaFirma\r\n"));
}
