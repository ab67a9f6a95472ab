// velmora-tools barcode: makes a barcode picture the way printing does, and reads the
// PDF417 texts of pictures and PDFs back.
#include "ToolArguments.h"
#include "ToolCommand.h"

#include "platform/Clock.h"
#include "platform/barcode/Pdf417Writer.h"
#include "platform/data/AtomicFile.h"
#include "printing/BarcodePicture.h"
#include "printing/BarcodeReader.h"

#include <QFile>
#include <QTemporaryDir>

#include <limits>

namespace velmora::tools {
namespace {

const QString kUsage =
    QStringLiteral("barcode encode --text TEXTO --width ANCHO --height ALTO --out FICHERO.bmp | "
                   "barcode read FICHERO...");
const QString kEncodeUsage =
    QStringLiteral("barcode encode --text TEXTO --width ANCHO --height ALTO --out FICHERO.bmp");
const QString kReadUsage = QStringLiteral("barcode read FICHERO...");

bool parseShort(const QString& text, qint16& out) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value <= 0 || value > std::numeric_limits<qint16>::max())
        return false;
    out = qint16(value);
    return true;
}

int encode(const QStringList& args) {
    ToolArguments parsed(kEncodeUsage,
                         {{QStringLiteral("text"), QStringLiteral("Texto que se pliega y se codifica."),
                           QStringLiteral("TEXTO")},
                          {QStringLiteral("width"), QStringLiteral("Ancho del dibujo en twips (1 a 32767)."),
                           QStringLiteral("ANCHO")},
                          {QStringLiteral("height"), QStringLiteral("Alto del dibujo en twips (1 a 32767)."),
                           QStringLiteral("ALTO")},
                          {QStringLiteral("out"), QStringLiteral("Fichero BMP que se escribe."),
                           QStringLiteral("FICHERO.bmp")}});
    if (!parsed.parse(args, 0, 0))
        return parsed.exitCode();
    const QString out = parsed.value(QStringLiteral("out"));
    if (!parsed.isSet(QStringLiteral("text")) || out.isEmpty())
        return parsed.usageError(QStringLiteral("Faltan el texto (--text) o el fichero de salida (--out)."));
    QString text = parsed.value(QStringLiteral("text"));
    qint16 width = 0;
    qint16 height = 0;
    if (!parseShort(parsed.value(QStringLiteral("width")), width) ||
        !parseShort(parsed.value(QStringLiteral("height")), height)) {
        printErr(QStringLiteral("El ancho y el alto deben ser números enteros entre 1 y 32767 (twips)."));
        return 2;
    }

    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        printErr(QStringLiteral("No se puede crear una carpeta temporal: ") + scratch.errorString());
        return 2;
    }
    Pdf417Writer control;
    SystemClock clock;
    Pdf417Layout layout;
    Result<QString> stem = GeneraCodigoBarras(text, control, width, height, scratch.path(), clock, &layout);
    if (!stem) {
        printErr(stem.error().description);
        return 1;
    }
    // The picture replaces the output in one step: a full disk leaves the old file, never
    // a cut-off picture.
    QFile picture(stem.value() + QStringLiteral(".bmp"));
    if (!picture.open(QIODevice::ReadOnly)) {
        printErr(QStringLiteral("No se puede leer el dibujo generado %1").arg(picture.fileName()));
        return 1;
    }
    if (const Status written = writeFileAtomically(out, picture.readAll()); !written.ok()) {
        printErr(written.error().description);
        return 1;
    }
    const QSize size = Pdf417Writer::pictureSize(width, height);
    printErr(
        QStringLiteral("%1 x %2 twips (%3 x %4 px a %5 ppp); %6 columnas, %7 filas, nivel de corrección %8, "
                       "módulo de %9 px%10")
            .arg(width)
            .arg(height)
            .arg(size.width())
            .arg(size.height())
            .arg(Pdf417Writer::kPixelsPerInch)
            .arg(layout.dataColumns)
            .arg(layout.rows)
            .arg(layout.errorCorrectionLevel)
            .arg(layout.modulePixels)
            .arg(layout.utf8Eci ? QStringLiteral(", UTF-8 con ECI 26") : QString()));
    printOut(text);
    return 0;
}

int read(const QStringList& args) {
    ToolArguments parsed(kReadUsage, {});
    if (!parsed.parse(args, 1, std::numeric_limits<qsizetype>::max()))
        return parsed.exitCode();
    const QStringList& files = parsed.positional();
    bool failed = false;
    int found = 0;
    for (const QString& file : files) {
        Result<QStringList> texts = readPdf417File(file);
        if (!texts) {
            printErr(texts.error().description);
            failed = true;
            continue;
        }
        for (const QString& text : texts.value())
            printOut(text);
        found += int(texts->size());
    }
    if (failed)
        return 2;
    return found > 0 ? 0 : 1;
}

const ToolCommand command("barcode", kUsage,
                          QStringLiteral("Dibuja un código PDF417 como lo imprime el programa y lee los de "
                                         "imágenes y PDF."),
                          [](const QStringList& args) {
                              const QString verb = args.value(0);
                              if (verb == QLatin1String("encode"))
                                  return encode(args.mid(1));
                              if (verb == QLatin1String("read"))
                                  return read(args.mid(1));
                              return ToolArguments(kUsage, {}).usageError();
                          });

} // namespace
} // namespace velmora::tools
