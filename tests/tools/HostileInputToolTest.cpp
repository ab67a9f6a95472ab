// The tools given hostile paths and files: nothing they read is overwritten, and failures are
// told in Spanish with the file's name instead of passing for success.
#include "catalog/SampleContest.h"
#include "platform/AppFolders.h"
#include "platform/docengine/Document.h"

#include "support/QStringPrinter.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

#include <QFile>

#include "support/PdfTools.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::onePagePdf;
using test::runTool;

TEST(HostileInputTool, OutputsThatNameTheirOwnInputAreRefusedAndTheInputKept) {
    test::TempDir dir;
    const QByteArray original = docengine::Document().toBytes().value();
    // "x.pdf" is a document whose default PDF is itself.
    const QString named = dir.write(QStringLiteral("solicitud.pdf"), original);
    const test::ToolOutput byDefault = runTool({QStringLiteral("doc"), QStringLiteral("pdf"), named});
    EXPECT_EQ(byDefault.exitCode, 2);
    EXPECT_EQ(byDefault.err.trimmed(),
              QStringLiteral("No se escribe %1: es el mismo fichero que se lee (%1).").arg(named));
    EXPECT_EQ(dir.read(QStringLiteral("solicitud.pdf")), original);

    const QString doc = dir.write(QStringLiteral("a.doc"), original);
    ASSERT_TRUE(QFile::link(doc, dir.file(QStringLiteral("enlace.pdf"))));
    const test::ToolOutput viaLink =
        runTool({QStringLiteral("doc"), QStringLiteral("pdf"), doc, dir.file(QStringLiteral("enlace.pdf"))});
    EXPECT_EQ(viaLink.exitCode, 2);
    EXPECT_EQ(dir.read(QStringLiteral("a.doc")), original);

    const test::ToolOutput empty = runTool({QStringLiteral("doc"), QStringLiteral("pdf"), doc, QString()});
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_EQ(empty.err.trimmed(),
              QStringLiteral("No se ha indicado el fichero de salida (el nombre está vacío)."));
}

TEST(HostileInputTool, PrintingNeverWritesOverTheInstallation) {
    test::TempDir dir;
    ASSERT_TRUE(writeSampleContest(dir.path(), SampleScale::Small, 7).ok());
    const AppFolders folders = AppFolders::at(dir.path());
    const QByteArray application = docengine::Document().toBytes().value();
    const QString saved = dir.write(QStringLiteral("ficheros/temp/solicitud.doc"), application);
    const QString sidecar = dir.write(QStringLiteral("ficheros/temp/solicitud.xml"), "<Solicitud/>");
    const QString conf = dir.file(QStringLiteral("conf.xml"));
    QFile confFile(conf);
    ASSERT_TRUE(confFile.open(QIODevice::ReadOnly));
    const QByteArray confBytes = confFile.readAll();

    for (const QString& out : {saved, sidecar, conf, QString()}) {
        const test::ToolOutput printed =
            runTool({QStringLiteral("print"), dir.path(), QStringLiteral("solicitud.doc"),
                     QStringLiteral("--pdf"), out});
        EXPECT_EQ(printed.exitCode, 2) << out.toStdString() << printed.err.toStdString();
        EXPECT_TRUE(printed.err.contains(out.isEmpty() ? QStringLiteral("el nombre está vacío")
                                                       : QStringLiteral("No se escribe ") + out))
            << printed.err.toStdString();
        EXPECT_FALSE(printed.out.contains(QStringLiteral("PDF escrito")));
    }
    EXPECT_EQ(dir.read(QStringLiteral("ficheros/temp/solicitud.doc")), application);
    EXPECT_EQ(dir.read(QStringLiteral("ficheros/temp/solicitud.xml")), "<Solicitud/>");
    EXPECT_EQ(dir.read(QStringLiteral("conf.xml")), confBytes);
}

TEST(HostileInputTool, BarcodeReadingTellsWhyAPageCouldNotBeLookedAt) {
    test::TempDir dir;
    // Declared compressed but not: poppler draws nothing and complains on its own.
    const QString damaged =
        dir.write(QStringLiteral("dañado.pdf"), onePagePdf("0 0 m 100 100 l S", "/Filter /FlateDecode"));
    const test::ToolOutput broken = runTool({QStringLiteral("barcode"), QStringLiteral("read"), damaged});
    EXPECT_EQ(broken.exitCode, 2) << "a page that failed to draw is not a page without barcodes";
    EXPECT_EQ(broken.err.trimmed(),
              QStringLiteral("No se puede leer %1: la página 1 está dañada y no se ha podido dibujar entera")
                  .arg(damaged));

    const QString huge = dir.write(QStringLiteral("enorme.pdf"), onePagePdf("", {}, 14400, 14400));
    const test::ToolOutput tooBig = runTool({QStringLiteral("barcode"), QStringLiteral("read"), huge});
    EXPECT_EQ(tooBig.exitCode, 2);
    EXPECT_EQ(
        tooBig.err.trimmed(),
        QStringLiteral("No se puede leer %1: la página 1 mide 508 x 508 cm, demasiado para buscar códigos")
            .arg(huge));

    const QString garbage = dir.write(QStringLiteral("foto.png"), QByteArray("\x89PNG\r\n\x1a\n roto", 14));
    const test::ToolOutput image = runTool({QStringLiteral("barcode"), QStringLiteral("read"), garbage});
    EXPECT_EQ(image.exitCode, 2);
    EXPECT_TRUE(image.err.trimmed().endsWith(QStringLiteral("No se puede leer ") + garbage +
                                             QStringLiteral(": la imagen está dañada o cortada")))
        << image.err.toStdString();
    EXPECT_FALSE(image.err.contains(QStringLiteral("Unable")));

    // A blank page that draws well still reads as "no barcode".
    const QString blank = dir.write(QStringLiteral("blanco.pdf"), onePagePdf("0 0 m 100 100 l S"));
    const test::ToolOutput none = runTool({QStringLiteral("barcode"), QStringLiteral("read"), blank});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.isEmpty()) << none.err.toStdString();
}

TEST(HostileInputTool, ABarcodePictureThatCannotBeWrittenLeavesNoFileBehind) {
    const test::ToolOutput full =
        runTool({QStringLiteral("barcode"), QStringLiteral("encode"), QStringLiteral("--text"),
                 QStringLiteral("HOLA"), QStringLiteral("--width"), QStringLiteral("4000"),
                 QStringLiteral("--height"), QStringLiteral("1000"), QStringLiteral("--out"),
                 QStringLiteral("/dev/full")});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.contains(QStringLiteral("no es un fichero normal"))) << full.err.toStdString();
}

} // namespace
} // namespace velmora
