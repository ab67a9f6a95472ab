#pragma once

// A certificate authority of the tests and personal certificates it issued, in an NSS
// database made with NSS's own certutil (never anyone's real certificate).

#include "support/TempDir.h"

#include <QProcess>

namespace velmora::test {

struct TestCertificates {
    static inline const QString password = QStringLiteral("clave-bd"); // the database's
    TempDir dir;
    QString nssdb = dir.file(QStringLiteral("nssdb"));
    bool made = false;

    // A database holding only the authority "AC Pruebas" (a CA certificate), named `authority`.
    explicit TestCertificates(const QString& authority) {
        QDir().mkpath(nssdb);
        writeFile(dir.file(QStringLiteral("pw")), password.toUtf8());
        writeFile(dir.file(QStringLiteral("noise")), QByteArray(64, 'x') + QByteArray::number(qint64(this)));
        made = certutil({QStringLiteral("-N")}) &&
               certutil({QStringLiteral("-S"), QStringLiteral("-n"), QStringLiteral("AC Pruebas"),
                         QStringLiteral("-s"), QStringLiteral("CN=%1,O=Pruebas,C=ES").arg(authority),
                         QStringLiteral("-x"), QStringLiteral("-t"), QStringLiteral("CT,C,C"),
                         QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-v"),
                         QStringLiteral("120"), QStringLiteral("-2")},
                        "y\n\ny\n");
    }
    // The one database of the test program (NSS opens one per process): the applicant's
    // certificate, another NIF's and an expired one of the applicant.
    static TestCertificates& shared() {
        static TestCertificates certificates(QStringLiteral("AC PRUEBAS VELMORA"));
        static const bool issued = certificates.made =
            certificates.made &&
            certificates.issue(QStringLiteral("solicitante"), QStringLiteral("IDCES-12345678Z"), 2, 0) &&
            certificates.issue(QStringLiteral("otro"), QStringLiteral("IDCES-87654321X"), 3, 0) &&
            certificates.issue(QStringLiteral("caducado"), QStringLiteral("12345678Z"), 4, -24);
        (void)issued;
        return certificates;
    }
    // A personal certificate with its key, valid 12 months from `monthsFromNow`.
    bool issue(const QString& nickname, const QString& serialNumber, int serial, int monthsFromNow) {
        return certutil(
            {QStringLiteral("-S"), QStringLiteral("-n"), nickname, QStringLiteral("-s"),
             QStringLiteral("CN=GARCIA LOPEZ MARIA - %1,serialNumber=%1,givenName=MARIA,SN=GARCIA "
                            "LOPEZ,C=ES")
                 .arg(serialNumber),
             QStringLiteral("-c"), QStringLiteral("AC Pruebas"), QStringLiteral("-t"),
             QStringLiteral("u,u,u"), QStringLiteral("-m"), QString::number(serial), QStringLiteral("-w"),
             QString::number(monthsFromNow), QStringLiteral("-v"), QStringLiteral("12")});
    }
    bool certutil(QStringList args, const QByteArray& input = {}) const {
        args << QStringLiteral("-d") << QStringLiteral("sql:") + nssdb << QStringLiteral("-f")
             << dir.file(QStringLiteral("pw")) << QStringLiteral("-z") << dir.file(QStringLiteral("noise"));
        QProcess p;
        p.start(QStringLiteral("certutil"), args);
        p.write(input);
        p.closeWriteChannel();
        return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    // The certificate and key of `nickname` as a PKCS#12 file protected by `filePassword`.
    QString exportPkcs12(const QString& nickname, const QString& filePassword) const {
        const QString p12 = dir.file(nickname + QStringLiteral(".p12"));
        writeFile(dir.file(QStringLiteral("p12pw")), filePassword.toUtf8());
        QProcess p;
        p.setStandardInputFile(QProcess::nullDevice());
        p.start(QStringLiteral("pk12util"),
                {QStringLiteral("-o"), p12, QStringLiteral("-n"), nickname, QStringLiteral("-d"),
                 QStringLiteral("sql:") + nssdb, QStringLiteral("-k"), dir.file(QStringLiteral("pw")),
                 QStringLiteral("-w"), dir.file(QStringLiteral("p12pw"))});
        return p.waitForFinished(60000) && p.exitCode() == 0 ? p12 : QString();
    }
};

} // namespace velmora::test
