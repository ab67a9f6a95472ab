// The tools given hostile paths and files: nothing they read is overwritten, and failures are
// told in Spanish with the file's name instead of passing for success.
#include "catalog/SampleContest.h"
#include "platform/docengine/Document.h"

#include "support/PdfTools.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace velmora;

using test::onePagePdf;
using test::runTool;

TEST(HostileInputTool, OutputsThatNameTheirOwnInputAreRefused) {
    test::TempDir dir;
    const QByteArray original = docengine::Document().toBytes().value();
    // "x.pdf" is a document whose default PDF is itself.
    const QString named = dir.write(u"solicitud.pdf"_s, original);
    const test::ToolOutput byDefault = runTool({u"doc"_s, u"pdf"_s, named});
    EXPECT_EQ(byDefault.exitCode, 2);
    EXPECT_EQ(byDefault.err.trimmed(),
              u"No se escribe %1: es el mismo fichero que se lee (%1)."_s.arg(named));
    EXPECT_EQ(dir.read(u"solicitud.pdf"_s), original);

    const QString doc = dir.write(u"a.doc"_s, original);
    ASSERT_TRUE(QFile::link(doc, dir.file(u"enlace.pdf"_s)));
    const test::ToolOutput viaLink = runTool({u"doc"_s, u"pdf"_s, doc, dir.file(u"enlace.pdf"_s)});
    EXPECT_EQ(viaLink.exitCode, 2);
    EXPECT_EQ(dir.read(u"a.doc"_s), original);
}

TEST(HostileInputTool, PrintingNeverWritesOverTheInstallation) {
    test::TempDir dir;
    ASSERT_TRUE(writeSampleContest(dir.path(), SampleScale::Small, 7).ok());
    const QByteArray application = docengine::Document().toBytes().value();
    const QString saved = dir.write(u"ficheros/temp/solicitud.doc"_s, application);
    const QString sidecar = dir.write(u"ficheros/temp/solicitud.xml"_s, "<Solicitud/>");
    const QString conf = dir.file(u"conf.xml"_s);
    const QByteArray confBytes = test::readFile(conf);

    for (const QString& out : {saved, sidecar, conf, QString()}) {
        const test::ToolOutput printed =
            runTool({u"print"_s, dir.path(), u"solicitud.doc"_s, u"--pdf"_s, out});
        EXPECT_EQ(printed.exitCode, 2) << out.toStdString() << printed.err.toStdString();
        EXPECT_TRUE(
            printed.err.contains(out.isEmpty() ? u"el nombre está vacío"_s : u"No se escribe "_s + out))
            << printed.err.toStdString();
        EXPECT_FALSE(printed.out.contains(u"PDF escrito"_s));
    }
    EXPECT_EQ(dir.read(u"ficheros/temp/solicitud.doc"_s), application);
    EXPECT_EQ(dir.read(u"ficheros/temp/solicitud.xml"_s), "<Solicitud/>");
    EXPECT_EQ(dir.read(u"conf.xml"_s), confBytes);
}

TEST(HostileInputTool, BarcodeReadingTellsWhyAPageCouldNotBeLookedAt) {
    test::TempDir dir;
    // Declared compressed but not: poppler draws nothing and complains on its own.
    const QString damaged =
        dir.write(u"dañado.pdf"_s, onePagePdf("0 0 m 100 100 l S", "/Filter /FlateDecode"));
    const test::ToolOutput broken = runTool({u"barcode"_s, u"read"_s, damaged});
    EXPECT_EQ(broken.exitCode, 2) << "a page that failed to draw is not a page without barcodes";
    EXPECT_EQ(
        broken.err.trimmed(),
        u"No se puede leer %1: la página 1 está dañada y no se ha podido dibujar entera"_s.arg(damaged));

    // A page too large (or empty) to look at is refused in the same words: OfficeScanTest.

    const QString garbage = dir.write(u"foto.png"_s, QByteArray("\x89PNG\r\n\x1a\n roto", 14));
    const test::ToolOutput image = runTool({u"barcode"_s, u"read"_s, garbage});
    EXPECT_EQ(image.exitCode, 2);
    EXPECT_TRUE(image.err.trimmed().endsWith(u"No se puede leer "_s + garbage +
                                             u": la imagen está dañada o cortada"_s))
        << image.err.toStdString();
    EXPECT_FALSE(image.err.contains(u"Unable"_s));

    // A blank page that draws well still reads as "no barcode".
    const QString blank = dir.write(u"blanco.pdf"_s, onePagePdf("0 0 m 100 100 l S"));
    const test::ToolOutput none = runTool({u"barcode"_s, u"read"_s, blank});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.isEmpty()) << none.err.toStdString();
}

TEST(HostileInputTool, ABarcodePictureThatCannotBeWrittenLeavesNoFileBehind) {
    const test::ToolOutput full = runTool({u"barcode"_s, u"encode"_s, u"--text"_s, u"HOLA"_s, u"--width"_s,
                                           u"4000"_s, u"--height"_s, u"1000"_s, u"--out"_s, u"/dev/full"_s});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.contains(u"no es un fichero normal"_s)) << full.err.toStdString();
}
